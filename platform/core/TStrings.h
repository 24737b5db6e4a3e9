#pragma once
// The abstract list of strings, each with an optional object. A descendant provides the
// storage through a small core (Get, GetCount and, to be editable, Put, PutObject,
// Insert, Delete); everything else here is built on that core: text in lines, comma and
// delimited text, name=value pairs, searching, copying and streaming.

#include <exception>
#include <vector>

#include "platform/core/TPersistent.h"

namespace bw {

class TReader;
class TStream;

class TStrings : public TPersistent {
  BW_CLASS(TStrings, TPersistent)

 public:
  TStrings() = default;

  // ---- the core a descendant provides ----
  virtual String Get(int32_t Index) const = 0;
  virtual int32_t GetCount() const = 0;
  /// Replaces the string at Index, keeping its object. The default deletes the entry and
  /// inserts the new text with the old object.
  virtual void Put(int32_t Index, const String& S);
  /// nil unless the descendant stores objects.
  virtual TObject* GetObject(int32_t Index) const;
  /// Does nothing unless the descendant stores objects.
  virtual void PutObject(int32_t Index, TObject* AObject);
  /// The default is the count: no spare room.
  virtual int32_t GetCapacity() const;
  /// The default ignores the request.
  virtual void SetCapacity(int32_t NewCapacity);
  /// Lists without insertion raise EAbstractError.
  virtual void Insert(int32_t Index, const String& S);
  /// Lists without deletion raise EAbstractError.
  virtual void Delete(int32_t Index);
  /// The default deletes every entry, last first.
  virtual void Clear();
  virtual void Exchange(int32_t Index1, int32_t Index2);
  /// Called with true by the outermost BeginUpdate and false by the outermost EndUpdate.
  virtual void SetUpdateState(bool Updating);

  // ---- operations built on the core ----
  /// Copies the strings and objects of another list (and its delimiter, quote character
  /// and line break); anything else, nil included, goes to the inherited Assign.
  void Assign(TPersistent* Source) override;
  /// Stores the lines in form files as the list property "Strings", when there are any
  /// (objects are not stored). Reading replaces the lines.
  void DefineProperties(TFiler* Filer) override;
  /// Appends S; returns its index.
  virtual int32_t Add(const String& S);
  virtual int32_t AddObject(const String& S, TObject* AObject);
  /// Appends every entry of Strings (nil adds nothing).
  virtual void AddStrings(const TStrings* Strings);
  void Append(const String& S) { Add(S); }
  /// Insert, then PutObject at the same index.
  void InsertObject(int32_t Index, const String& S, TObject* AObject);
  /// Moves an entry with its object so that it ends at NewIndex.
  virtual void Move(int32_t CurIndex, int32_t NewIndex);

  /// The index of the first entry equal to S under CompareStrings, or -1.
  virtual int32_t IndexOf(const String& S) const;
  /// The index of the first entry whose name equals Name under CompareStrings, or -1.
  int32_t IndexOfName(const String& Name) const;
  int32_t IndexOfObject(const TObject* AObject) const;
  /// Same count and the same strings in the same order, compared exactly.
  bool Equals(const TStrings* Strings) const;

  /// Nested updates: only the outermost pair reaches SetUpdateState. An EndUpdate without
  /// a matching BeginUpdate is ignored.
  void BeginUpdate();
  void EndUpdate();

  /// Keeps the list in an update for the lifetime of the scope.
  class TUpdateScope {
   public:
    explicit TUpdateScope(TStrings& Strings)
        : FStrings(Strings), FExceptions(std::uncaught_exceptions()) {
      FStrings.BeginUpdate();
    }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;
    // An error from EndUpdate propagates, unless another one is already on its way.
    ~TUpdateScope() noexcept(false);

   private:
    TStrings& FStrings;
    int FExceptions;
  };

  // ---- text forms ----
  /// Every entry followed by LineBreak, the last one too.
  virtual String GetTextStr() const;
  /// Replaces the entries with the lines of Value: CR LF, LF and a lone CR each end a
  /// line; a break at the very end adds no empty line.
  virtual void SetTextStr(const String& Value);
  virtual String GetText() const;
  virtual void SetText(const String& Value);
  String Text() const { return GetTextStr(); }

  /// The entries separated by commas, quoted with '"' where needed; a list holding one
  /// empty string gives "". Delimiter and QuoteChar do not apply.
  String CommaText() const;
  void SetCommaText(const String& Value);
  /// Like CommaText, with Delimiter and QuoteChar.
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  /// Default ','.
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  /// Default '"'; '\0' turns quoting off.
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  /// What GetTextStr puts after each line. Default "\n".
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& Value) { FLineBreak = Value; }

  // ---- files and streams: the text, one entry a line ----
  /// Replaces the entries with the text of the file. A file that cannot be read raises
  /// and leaves the list as it was.
  virtual void LoadFromFile(const String& FileName);
  /// Replaces the entries with the text from the stream's position to its end. A UTF-8
  /// byte order mark at the start is dropped.
  virtual void LoadFromStream(TStream* Stream);
  /// Writes the text to a temporary file and renames it over FileName, so a failed save
  /// raises and leaves the old file whole.
  virtual void SaveToFile(const String& FileName);
  /// Writes the text at the stream's position.
  virtual void SaveToStream(TStream* Stream);

  // ---- name=value entries ----
  /// The text before the first '=' of entry Index; empty when it has none.
  String Names(int32_t Index) const;
  /// The text after the first '=' of the entry named Name; empty when there is none.
  String Values(const String& Name) const;
  /// Sets or adds the entry Name=Value; an empty Value deletes the entry.
  void SetValues(const String& Name, const String& Value);

 protected:
  /// How IndexOf and IndexOfName compare: without regard to case unless overridden.
  virtual int32_t CompareStrings(const String& S1, const String& S2) const;
  int32_t UpdateCount() const { return FUpdateCount; }
  /// The lines of a stored "Strings" list, all read before any is applied.
  static std::vector<String> ReadStoredLines(TReader* Reader);
  /// Replaces every entry with Lines (objects nil): loading text, comma text and stored
  /// lists all end here. A list that can refuse some of the lines checks them first.
  virtual void SetLines(const std::vector<String>& Lines);

 private:
  String JoinDelimited(char Delim, char Quote) const;
  void SplitDelimited(const String& Value, char Delim, char Quote);

  int32_t FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  String FLineBreak = "\n";
};

}  // namespace bw
