#include "platform/core/FormStreaming.h"

#include <algorithm>
#include <cctype>

#include "platform/core/EParserError.h"
#include "platform/core/FormConversion.h"
#include "platform/core/TComponent.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"

namespace bw {

namespace {

String Contents(TMemoryStream& S) {
  return String(static_cast<const char*>(S.Memory()), size_t(S.Size()));
}

}  // namespace

TStreamOriginalFormat TestStreamFormat(TStream* Stream) {
  const int64_t start = Stream->Position();
  char buf[16] = {};
  const int32_t n = Stream->Read(buf, sizeof buf);
  Stream->SetPosition(start);
  String head(buf, size_t(std::max(n, 0)));
  if (head.compare(0, 4, "TPF0") == 0) return sofBinary;
  if (head.compare(0, 3, "\xEF\xBB\xBF") == 0) head.erase(0, 3);
  const size_t first = head.find_first_not_of(" \t\r\n");
  if (first == String::npos) return sofUnknown;
  String word;
  for (size_t i = first; i < head.size() && std::isalpha(static_cast<unsigned char>(head[i])); ++i)
    word += static_cast<char>(std::tolower(static_cast<unsigned char>(head[i])));
  if (word == "object" || word == "inherited" || word == "inline") return sofText;
  return sofUnknown;
}

void SaveComponentToStream(TStream* Stream, TComponent* Root, TStreamOriginalFormat Format) {
  // Written to memory first, so a component that cannot be stored leaves Stream as it was.
  TMemoryStream binary;
  TWriter(&binary).WriteRootComponent(Root);
  binary.SetPosition(0);
  if (Format == sofText)
    ObjectBinaryToText(&binary, Stream);
  else
    Stream->CopyFrom(&binary, binary.Size());
}

TComponent* LoadComponentFromStream(TStream* Stream, TComponent* Root, TComponent* Owner) {
  if (TestStreamFormat(Stream) != sofText) {
    TReader reader(Stream);
    reader.SetOwner(Owner);
    return reader.ReadRootComponent(Root);
  }
  TMemoryStream binary;
  std::vector<TTextPosition> positions;
  ObjectTextToBinary(Stream, &binary, &positions);
  binary.SetPosition(0);
  TReader reader(&binary);
  reader.SetOwner(Owner);
  // The text position of the header or property the reader had reached.
  auto where = [&]() -> const TTextPosition* {
    const int64_t at = reader.ItemStart();
    if (at < 0) return nullptr;  // failed after the whole form was read (Loaded)
    auto it = std::upper_bound(positions.begin(), positions.end(), at,
                               [](int64_t a, const TTextPosition& p) { return a < p.Offset; });
    return it == positions.begin() ? nullptr : &*(it - 1);
  };
  try {
    return reader.ReadRootComponent(Root);
  } catch (EParserError&) {
    throw;
  } catch (EReadError& e) {
    const TTextPosition* p = where();
    if (!p) throw;
    throw EParserError(e.Message(), p->Line, p->Column);
  } catch (Exception& e) {
    if (const TTextPosition* p = where())
      e.SetMessage(e.Message() + " (line " + std::to_string(p->Line) + ", column " +
                   std::to_string(p->Column) + ")");
    throw;
  }
}

void SaveComponentToFile(const String& FileName, TComponent* Root, TStreamOriginalFormat Format) {
  // Produced before the file is touched: a component that cannot be stored costs no I/O.
  TMemoryStream data;
  SaveComponentToStream(&data, Root, Format);
  data.SaveToFile(FileName);
}

TComponent* LoadComponentFromFile(const String& FileName, TComponent* Root, TComponent* Owner) {
  TMemoryStream data;
  data.LoadFromFile(FileName);
  return LoadComponentFromStream(&data, Root, Owner);
}

String ComponentToText(TComponent* Root) {
  TMemoryStream out;
  SaveComponentToStream(&out, Root, sofText);
  return Contents(out);
}

String ComponentToBinary(TComponent* Root) {
  TMemoryStream out;
  SaveComponentToStream(&out, Root, sofBinary);
  return Contents(out);
}

TComponent* ComponentFromString(const String& Data, TComponent* Root, TComponent* Owner) {
  TMemoryStream in;
  in.Write(Data.data(), int32_t(Data.size()));
  in.SetPosition(0);
  return LoadComponentFromStream(&in, Root, Owner);
}

}  // namespace bw
