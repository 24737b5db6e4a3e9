#include "platform/core/TStrings.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TFileStream.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "platform/core/TextCompare.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

// Blanks and control characters; bytes of multi-byte UTF-8 sequences are not blanks.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

String Quoted(const String& s, char quote) {
  String result(1, quote);
  for (char c : s) {
    result += c;
    if (c == quote) result += quote;
  }
  result += quote;
  return result;
}

// Reads the quoted item starting at value[pos] (the opening quote) and leaves pos after
// the closing quote. A doubled quote stands for one. An item whose closing quote is
// missing runs to the end of the text.
String ExtractQuoted(const String& value, size_t& pos, char quote) {
  String result;
  ++pos;
  while (pos < value.size()) {
    if (value[pos] == quote) {
      if (pos + 1 < value.size() && value[pos + 1] == quote) {
        result += quote;
        pos += 2;
        continue;
      }
      ++pos;
      return result;
    }
    result += value[pos++];
  }
  return result;
}

}  // namespace

TStrings::TUpdateScope::~TUpdateScope() noexcept(false) {
  if (std::uncaught_exceptions() > FExceptions) {
    try {
      FStrings.EndUpdate();
    } catch (...) {
      // The error already unwinding is the one the caller needs to see.
    }
  } else {
    FStrings.EndUpdate();
  }
}

// ---- the core ----

void TStrings::Put(int32_t Index, const String& S) {
  TObject* object = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

TObject* TStrings::GetObject(int32_t) const {
  return nullptr;
}

void TStrings::PutObject(int32_t, TObject*) {}

int32_t TStrings::GetCapacity() const {
  return GetCount();
}

void TStrings::SetCapacity(int32_t) {}

void TStrings::Insert(int32_t, const String&) {
  throw EAbstractError(SAbstractError);
}

void TStrings::Delete(int32_t) {
  throw EAbstractError(SAbstractError);
}

void TStrings::Clear() {
  TUpdateScope update(*this);
  for (int32_t i = GetCount() - 1; i >= 0; --i)
    Delete(i);
}

void TStrings::Exchange(int32_t Index1, int32_t Index2) {
  TUpdateScope update(*this);
  String s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
}

void TStrings::SetUpdateState(bool) {}

// ---- operations built on the core ----

void TStrings::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "Strings",
      [this](TReader* Reader) {
        // Read every line before changing any, so a damaged list leaves the old lines.
        SetLines(ReadStoredLines(Reader));
      },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (int32_t i = 0; i < GetCount(); ++i)
          Writer->WriteString(Get(i));
        Writer->WriteListEnd();
      },
      GetCount() > 0);
}

void TStrings::SetLines(const std::vector<String>& Lines) {
  TUpdateScope update(*this);
  Clear();
  for (const String& line : Lines)
    Add(line);
}

std::vector<String> TStrings::ReadStoredLines(TReader* Reader) {
  std::vector<String> lines;
  Reader->ReadListBegin();
  while (!Reader->EndOfList())
    lines.push_back(Reader->ReadString());
  Reader->ReadListEnd();
  return lines;
}

void TStrings::Assign(TPersistent* Source) {
  auto* strings = dynamic_cast<TStrings*>(Source);
  if (!strings) {
    inherited::Assign(Source);
    return;
  }
  if (strings == this) return;
  TUpdateScope update(*this);
  FDelimiter = strings->FDelimiter;
  FQuoteChar = strings->FQuoteChar;
  FLineBreak = strings->FLineBreak;
  Clear();
  AddStrings(strings);
}

int32_t TStrings::Add(const String& S) {
  int32_t index = GetCount();
  Insert(index, S);
  return index;
}

int32_t TStrings::AddObject(const String& S, TObject* AObject) {
  int32_t index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(const TStrings* Strings) {
  if (!Strings) return;
  TUpdateScope update(*this);
  // The count is taken once, so that adding a list to itself doubles it.
  int32_t count = Strings->GetCount();
  for (int32_t i = 0; i < count; ++i)
    AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::InsertObject(int32_t Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Move(int32_t CurIndex, int32_t NewIndex) {
  if (CurIndex == NewIndex) return;
  TUpdateScope update(*this);
  String s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  Delete(CurIndex);
  try {
    InsertObject(NewIndex, s, object);
  } catch (...) {
    // Put the entry back where it was rather than lose it to a bad NewIndex.
    try {
      InsertObject(CurIndex, s, object);
    } catch (...) {
    }
    throw;
  }
}

int32_t TStrings::IndexOf(const String& S) const {
  int32_t count = GetCount();
  for (int32_t i = 0; i < count; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int32_t TStrings::IndexOfName(const String& Name) const {
  int32_t count = GetCount();
  for (int32_t i = 0; i < count; ++i) {
    String s = Get(i);
    size_t separator = s.find('=');
    if (separator != String::npos && CompareStrings(s.substr(0, separator), Name) == 0) return i;
  }
  return -1;
}

int32_t TStrings::IndexOfObject(const TObject* AObject) const {
  int32_t count = GetCount();
  for (int32_t i = 0; i < count; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (!Strings) return false;
  int32_t count = GetCount();
  if (count != Strings->GetCount()) return false;
  for (int32_t i = 0; i < count; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

int32_t TStrings::CompareStrings(const String& S1, const String& S2) const {
  return CompareText(S1, S2);
}

// ---- text forms ----

String TStrings::GetTextStr() const {
  String result;
  int32_t count = GetCount();
  for (int32_t i = 0; i < count; ++i) {
    result += Get(i);
    result += FLineBreak;
  }
  return result;
}

void TStrings::SetTextStr(const String& Value) {
  std::vector<String> lines;
  size_t pos = 0;
  while (pos < Value.size()) {
    size_t end = Value.find_first_of("\r\n", pos);
    if (end == String::npos) end = Value.size();
    lines.push_back(Value.substr(pos, end - pos));
    pos = end;
    if (pos < Value.size() && Value[pos] == '\r') ++pos;
    if (pos < Value.size() && Value[pos] == '\n') ++pos;
  }
  SetLines(lines);
}

String TStrings::GetText() const {
  return GetTextStr();
}

void TStrings::SetText(const String& Value) {
  SetTextStr(Value);
}

String TStrings::CommaText() const {
  return JoinDelimited(',', '"');
}

void TStrings::SetCommaText(const String& Value) {
  SplitDelimited(Value, ',', '"');
}

String TStrings::DelimitedText() const {
  return JoinDelimited(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const String& Value) {
  SplitDelimited(Value, FDelimiter, FQuoteChar);
}

String TStrings::JoinDelimited(char Delim, char Quote) const {
  int32_t count = GetCount();
  // A lone empty item is quoted, or the text would read back as no item at all.
  if (count == 1 && Quote != '\0' && Get(0).empty()) return String(2, Quote);
  String result;
  for (int32_t i = 0; i < count; ++i) {
    String s = Get(i);
    bool quote = false;
    if (Quote != '\0')
      for (char c : s)
        if (IsBlank(c) || c == Quote || c == Delim) {
          quote = true;
          break;
        }
    if (i > 0) result += Delim;
    result += quote ? Quoted(s, Quote) : s;
  }
  return result;
}

void TStrings::SplitDelimited(const String& Value, char Delim, char Quote) {
  std::vector<String> lines;
  const size_t size = Value.size();
  size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < size && IsBlank(Value[pos]))
      ++pos;
  };
  skipBlanks();
  while (pos < size) {
    if (Quote != '\0' && Value[pos] == Quote) {
      lines.push_back(ExtractQuoted(Value, pos, Quote));
    } else {
      size_t start = pos;
      while (pos < size && !IsBlank(Value[pos]) && Value[pos] != Delim)
        ++pos;
      lines.push_back(Value.substr(start, pos - start));
    }
    skipBlanks();
    if (pos < size && Value[pos] == Delim) {
      ++pos;
      skipBlanks();
      // A delimiter that ends the text, blanks or not, still separates an empty last item.
      if (pos == size) lines.emplace_back();
    }
  }
  SetLines(lines);
}

// ---- files and streams ----

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
  // Read to the end in blocks rather than trusting Size, which not every stream knows.
  String text;
  char block[65536];
  for (int32_t n; (n = Stream->Read(block, sizeof block)) > 0;)
    text.append(block, n);
  text.erase(0, text.size() - WithoutByteOrderMark(text).size());
  SetTextStr(text);
}

void TStrings::SaveToFile(const String& FileName) {
  SaveFileAtomically(FileName, [this](TStream& stream) { SaveToStream(&stream); });
}

void TStrings::SaveToStream(TStream* Stream) {
  String text = GetTextStr();
  const std::string_view mark = ByteOrderMarkFor(text);
  Stream->WriteBuffer(mark.data(), int32_t(mark.size()));
  constexpr size_t block = size_t{1} << 30;
  for (size_t pos = 0; pos < text.size(); pos += block)
    Stream->WriteBuffer(text.data() + pos,
                        static_cast<int32_t>(std::min(block, text.size() - pos)));
}

// ---- name=value entries ----

String TStrings::Names(int32_t Index) const {
  String s = Get(Index);
  size_t separator = s.find('=');
  return separator == String::npos ? String() : s.substr(0, separator);
}

String TStrings::Values(const String& Name) const {
  int32_t index = IndexOfName(Name);
  if (index < 0) return String();
  String s = Get(index);
  return s.substr(s.find('=') + 1);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int32_t index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  // A new entry is added whole, so that a list that keeps its entries sorted takes it.
  if (index < 0)
    Add(Name + "=" + Value);
  else
    Put(index, Name + "=" + Value);
}

}  // namespace bw
