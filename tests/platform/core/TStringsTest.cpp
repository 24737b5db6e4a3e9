#include "platform/core/TStrings.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TStringList.h"
#include "platform/core/TStringStream.h"
#include "platform/core/TextCompare.h"
#include "tests/platform/core/StringsTestSupport.h"
#include "tests/platform/core/TempFolder.h"
#include "tests/support/TFailingReadStream.h"

namespace bw {
namespace {

using testing::Entries;
using testing::Lines;

void Fill(TStrings& list, const Lines& lines) {
  list.Clear();
  for (const String& s : lines)
    list.Add(s);
}

// A list over a vector that records the calls the shared operations make on it.
class TRecordingStrings : public TStrings {
  BW_CLASS(TRecordingStrings, TStrings)

 public:
  String Get(int32_t Index) const override { return FItems.at(Index).first; }
  int32_t GetCount() const override { return static_cast<int32_t>(FItems.size()); }
  TObject* GetObject(int32_t Index) const override { return FItems.at(Index).second; }
  void Put(int32_t Index, const String& S) override {
    FLog.push_back("Put " + S);
    FItems.at(Index).first = S;
  }
  void PutObject(int32_t Index, TObject* AObject) override {
    FLog.push_back("PutObject " + std::to_string(Index));
    FItems.at(Index).second = AObject;
  }
  void Insert(int32_t Index, const String& S) override {
    if (Index < 0 || Index > GetCount()) throw EListError(SListIndexError);
    FLog.push_back("Insert " + std::to_string(Index) + " " + S);
    FItems.insert(FItems.begin() + Index, {S, nullptr});
  }
  void Delete(int32_t Index) override {
    FLog.push_back("Delete " + std::to_string(Index));
    FItems.erase(FItems.begin() + Index);
  }
  void SetUpdateState(bool Updating) override { FLog.push_back(Updating ? "Begin" : "End"); }

  std::vector<std::pair<String, TObject*>> FItems;
  Lines FLog;
};

// A list that provides only reading.
class TReadOnlyStrings : public TStrings {
  BW_CLASS(TReadOnlyStrings, TStrings)

 public:
  String Get(int32_t Index) const override { return Index == 0 ? "only" : ""; }
  int32_t GetCount() const override { return 1; }
};

// ---- CommaText and DelimitedText ----

struct TSplitCase {
  const char* Name;
  String Text;
  Lines Expected;
};

class CommaTextReading : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(CommaTextReading, SplitsLikeStoredFilesExpect) {
  TStringList list;
  list.Add("old entry");
  list.SetCommaText(GetParam().Text);
  EXPECT_EQ(Entries(list), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommaTextReading,
    ::testing::Values(TSplitCase{"Empty", "", {}}, TSplitCase{"OnlyBlanks", " \t ", {}},
                      TSplitCase{"One", "a", {"a"}}, TSplitCase{"Three", "a,b,c", {"a", "b", "c"}},
                      TSplitCase{"BlankSplits", "a b\tc\nd", {"a", "b", "c", "d"}},
                      TSplitCase{"BlanksAroundDelimiters", "  a ,  b  ", {"a", "b"}},
                      TSplitCase{"EmptyBetween", "a,,b", {"a", "", "b"}},
                      TSplitCase{"BlankBetween", "a, ,b", {"a", "", "b"}},
                      TSplitCase{"TrailingDelimiter", "a,", {"a", ""}},
                      TSplitCase{"TrailingDelimiterThenBlanks", "a, \t", {"a", ""}},
                      TSplitCase{"QuotedThenTrailingDelimiter", "\"a\" , ", {"a", ""}},
                      TSplitCase{"OnlyDelimiterThenBlank", ", ", {"", ""}},
                      TSplitCase{"LeadingDelimiter", ",a", {"", "a"}},
                      TSplitCase{"OnlyDelimiter", ",", {"", ""}},
                      TSplitCase{"QuotedEmpty", "\"\"", {""}},
                      TSplitCase{"QuotedWithBlank", "\"a b\",c", {"a b", "c"}},
                      TSplitCase{"QuotedWithDelimiter", "\"a,b\"", {"a,b"}},
                      TSplitCase{"DoubledQuote", "\"a\"\"b\"", {"a\"b"}},
                      TSplitCase{"OnlyDoubledQuote", "\"\"\"\"", {"\""}},
                      TSplitCase{"TextAfterClosingQuote", "\"a\"b,c", {"a", "b", "c"}},
                      TSplitCase{"QuoteInsideUnquoted", "a\"b", {"a\"b"}},
                      TSplitCase{"UnclosedQuoteKeepsAll", "x,\"abc", {"x", "abc"}},
                      TSplitCase{"Utf8IsNotBlank", "größe,Ünï cöde", {"größe", "Ünï", "cöde"}}),
    [](const auto& info) { return String(info.param.Name); });

struct TJoinCase {
  const char* Name;
  Lines Entries;
  String Expected;
};

class CommaTextWriting : public ::testing::TestWithParam<TJoinCase> {};

TEST_P(CommaTextWriting, QuotesWhereNeededAndReadsBack) {
  TStringList list;
  Fill(list, GetParam().Entries);
  EXPECT_EQ(list.CommaText(), GetParam().Expected);
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_EQ(Entries(back), GetParam().Entries);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommaTextWriting,
    ::testing::Values(TJoinCase{"Empty", {}, ""}, TJoinCase{"LoneEmpty", {""}, "\"\""},
                      TJoinCase{"TwoEmpty", {"", ""}, ","},
                      TJoinCase{"EmptyInside", {"a", "", "b"}, "a,,b"},
                      TJoinCase{"EmptyLast", {"a", ""}, "a,"},
                      TJoinCase{"Plain", {"a", "b"}, "a,b"}, TJoinCase{"Blank", {"a b"}, "\"a b\""},
                      TJoinCase{"Control", {"a\tb", "x\ny"}, "\"a\tb\",\"x\ny\""},
                      TJoinCase{"Delimiter", {"a,b"}, "\"a,b\""},
                      TJoinCase{"Quote", {"say \"hi\"", "a\"b"}, "\"say \"\"hi\"\"\",\"a\"\"b\""},
                      TJoinCase{"Utf8", {"größe", "Ünï"}, "größe,Ünï"},
                      TJoinCase{"OtherPunctuation", {"a;b", "c'd"}, "a;b,c'd"}),
    [](const auto& info) { return String(info.param.Name); });

TEST(TStringsDelimitedText, UsesDelimiterAndQuoteCharButCommaTextDoesNot) {
  TStringList list;
  list.SetDelimiter(';');
  list.SetQuoteChar('\'');
  list.SetDelimitedText("a;b c;'x;y';'it''s';\"q\";");
  EXPECT_EQ(Entries(list), (Lines{"a", "b", "c", "x;y", "it's", "\"q\"", ""}));
  list.SetDelimitedText("a; ");
  EXPECT_EQ(Entries(list), (Lines{"a", ""}));

  Fill(list, {"a b", "x;y", "it's", "p,q", "\"q\""});
  EXPECT_EQ(list.DelimitedText(), "'a b';'x;y';'it''s';p,q;\"q\"");
  EXPECT_EQ(list.CommaText(), "\"a b\",x;y,it's,\"p,q\",\"\"\"q\"\"\"");
}

TEST(TStringsDelimitedText, NulQuoteCharTurnsQuotingOff) {
  TStringList list;
  list.SetQuoteChar('\0');
  list.SetDelimitedText("'a',\"b\"");
  EXPECT_EQ(Entries(list), (Lines{"'a'", "\"b\""}));
  Fill(list, {"a,b"});
  EXPECT_EQ(list.DelimitedText(), "a,b");
}

// ---- Text ----

class TextReading : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(TextReading, SplitsAtEveryKindOfLineBreak) {
  TStringList list;
  list.Add("old");
  list.SetText(GetParam().Text);
  EXPECT_EQ(Entries(list), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextReading,
    ::testing::Values(TSplitCase{"Empty", "", {}}, TSplitCase{"NoBreak", "a", {"a"}},
                      TSplitCase{"TrailingLF", "a\n", {"a"}}, TSplitCase{"OnlyLF", "\n", {""}},
                      TSplitCase{"CRLF", "a\r\nb\r\n", {"a", "b"}},
                      TSplitCase{"LoneCR", "a\rb\r", {"a", "b"}},
                      TSplitCase{"LFThenCRIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                      TSplitCase{"EmptyLines", "a\n\nb\n\n", {"a", "", "b", ""}},
                      TSplitCase{"Mixed", "a\r\n\r\nb\rc\nd", {"a", "", "b", "c", "d"}},
                      TSplitCase{"BlanksKept", "  a \t\n", {"  a \t"}},
                      TSplitCase{"NulKept", String("a\0b", 3), {String("a\0b", 3)}},
                      TSplitCase{"Utf8", "äöü\r\n日本語", {"äöü", "日本語"}}),
    [](const auto& info) { return String(info.param.Name); });

TEST(TStringsText, EveryLineEndsWithTheLineBreak) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  Fill(list, {""});
  EXPECT_EQ(list.Text(), "\n");
  Fill(list, {"a", "", "b"});
  EXPECT_EQ(list.Text(), "a\n\nb\n");
  list.SetLineBreak("\r\n");
  EXPECT_EQ(list.GetText(), "a\r\n\r\nb\r\n");
  TStringList back;
  back.SetText(list.Text());
  EXPECT_TRUE(back.Equals(&list));
}

// ---- names and values ----

TEST(TStringsNameValue, NamesValuesAndLookupWithoutCase) {
  TStringList list;
  Fill(list, {"a=1", "B=2", "plain", "w==2", " key = v ", "=empty name"});
  EXPECT_EQ(list.Names(0), "a");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Names(4), " key ");
  EXPECT_EQ(list.Values("b"), "2");
  EXPECT_EQ(list.Values("W"), "=2");
  EXPECT_EQ(list.Values(" KEY "), " v ");
  EXPECT_EQ(list.Values("plain"), "");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.IndexOfName("key"), -1);
  EXPECT_EQ(list.IndexOfName(""), 5);

  list.SetValues("A", "one");  // replaces the entry, named as given
  list.SetValues("new", "x");
  list.SetValues("w", "");  // an empty value deletes
  list.SetValues("missing", "");
  EXPECT_EQ(Entries(list), (Lines{"A=one", "B=2", "plain", " key = v ", "=empty name", "new=x"}));
}

TEST(TStringsNameValue, SettingANewValueOnASortedListAddsItInPlace) {
  TStringList list;
  list.SetSorted(true);
  list.SetCommaText("b=2,d=4");
  list.SetValues("c", "3");
  EXPECT_EQ(Entries(list), (Lines{"b=2", "c=3", "d=4"}));
}

// ---- searching and comparing ----

TEST(TStringsSearch, IndexOfIgnoresCaseIncludingNonAsciiLetters) {
  TStringList list;
  Fill(list, {"Alpha", "ÄRGER", "Straße", "ΣΟΦΊΑ", "Жук"});
  EXPECT_EQ(list.IndexOf("alpha"), 0);
  EXPECT_EQ(list.IndexOf("ärger"), 1);
  EXPECT_EQ(list.IndexOf("STRAßE"), 2);
  EXPECT_EQ(list.IndexOf("σοφία"), 3);
  EXPECT_EQ(list.IndexOf("жук"), 4);
  EXPECT_EQ(list.IndexOf("Alph"), -1);

  TObject a, b;
  list.PutObject(3, &b);
  list.PutObject(1, &a);
  EXPECT_EQ(list.IndexOfObject(&b), 3);
  EXPECT_EQ(list.IndexOfObject(nullptr), 0);
}

TEST(TStringsSearch, CompareTextOrdersByFoldedCodePoints) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_LT(CompareText("z", "é"), 0);  // code point order, not bytes as signed chars
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(CompareText("İ", "i"), 0);
  // Broken UTF-8 compares without reading past the end.
  EXPECT_NE(CompareText("\xC3", "\xC3\xA4"), 0);
  EXPECT_NE(CompareText("\xFF", "\xFE"), 0);
}

TEST(TStringsSearch, EqualsComparesExactly) {
  TStringList a, b;
  Fill(a, {"x", "y"});
  Fill(b, {"x", "Y"});
  EXPECT_FALSE(a.Equals(&b));
  b.Put(1, "y");
  EXPECT_TRUE(a.Equals(&b));
  b.Add("z");
  EXPECT_FALSE(a.Equals(&b));
  EXPECT_FALSE(a.Equals(nullptr));
}

// ---- the shared operations over the core ----

TEST(TStringsCore, AListWithoutInsertOrDeleteRaisesAbstractError) {
  TReadOnlyStrings list;
  EXPECT_EQ(list.CommaText(), "only");
  EXPECT_EQ(list.IndexOf("ONLY"), 0);
  try {
    list.Add("x");
    ADD_FAILURE() << "Add succeeded";
  } catch (const EAbstractError& e) {
    EXPECT_STREQ(e.what(), SAbstractError);
  }
  EXPECT_THROW(list.Delete(0), EAbstractError);
  EXPECT_THROW(list.Put(0, "x"), EAbstractError);
  EXPECT_THROW(list.Clear(), EAbstractError);
  EXPECT_THROW(list.SetText("a\nb"), EAbstractError);
}

TEST(TStringsCore, InsertObjectInsertsThenStoresTheObject) {
  TRecordingStrings list;
  TObject o;
  list.InsertObject(0, "a", &o);
  list.AddObject("b", nullptr);
  EXPECT_EQ(list.FLog, (Lines{"Insert 0 a", "PutObject 0", "Insert 1 b", "PutObject 1"}));
  EXPECT_EQ(list.GetObject(0), &o);
}

TEST(TStringsCore, UpdateStateChangesOnlyAtTheOutermostPair) {
  TRecordingStrings list;
  list.BeginUpdate();
  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_EQ(list.FLog, (Lines{"Begin"}));
  list.EndUpdate();
  list.EndUpdate();  // unmatched: ignored
  list.BeginUpdate();
  list.EndUpdate();
  EXPECT_EQ(list.FLog, (Lines{"Begin", "End", "Begin", "End"}));

  list.FLog.clear();
  list.SetCommaText("a,b");
  EXPECT_EQ(list.FLog, (Lines{"Begin", "Insert 0 a", "Insert 1 b", "End"}));

  list.FLog.clear();
  EXPECT_THROW(
      {
        TStrings::TUpdateScope scope(list);
        list.Insert(9, "bad");
      },
      EListError);
  list.BeginUpdate();  // the failed scope still closed its update
  EXPECT_EQ(list.FLog, (Lines{"Begin", "End", "Begin"}));
}

TEST(TStringsCore, PutAndExchangeKeepObjectsWithTheirStrings) {
  TRecordingStrings list;
  TObject a, b;
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.Exchange(0, 1);
  EXPECT_EQ(Entries(list), (Lines{"b", "a"}));
  EXPECT_EQ(list.GetObject(0), &b);
  EXPECT_EQ(list.GetObject(1), &a);
}

TEST(TStringsCore, MoveToABadIndexPutsTheEntryBack) {
  TRecordingStrings list;
  TObject o;
  list.AddObject("a", nullptr);
  list.AddObject("b", &o);
  list.AddObject("c", nullptr);
  list.Move(1, 0);
  EXPECT_EQ(Entries(list), (Lines{"b", "a", "c"}));
  EXPECT_EQ(list.GetObject(0), &o);
  EXPECT_THROW(list.Move(0, 7), EListError);
  EXPECT_EQ(Entries(list), (Lines{"b", "a", "c"}));
  EXPECT_EQ(list.GetObject(0), &o);
}

TEST(TStringsCore, AssignAndAddStrings) {
  TStringList source;
  TObject o;
  source.AddObject("x", &o);
  source.Add("y");
  source.SetDelimiter(';');

  TRecordingStrings target;
  target.Add("old");
  target.FLog.clear();
  target.Assign(&source);
  EXPECT_EQ(Entries(target), (Lines{"x", "y"}));
  EXPECT_EQ(target.GetObject(0), &o);
  EXPECT_EQ(target.Delimiter(), ';');
  EXPECT_EQ(target.FLog.front(), "Begin");
  EXPECT_EQ(target.FLog.back(), "End");

  target.Assign(&target);  // assigning a list to itself keeps it
  EXPECT_EQ(Entries(target), (Lines{"x", "y"}));
  target.AddStrings(&target);
  EXPECT_EQ(Entries(target), (Lines{"x", "y", "x", "y"}));
  target.AddStrings(nullptr);
  EXPECT_EQ(target.GetCount(), 4);
}

// Something that is not a list but knows how to copy itself into one.
class TPair : public TPersistent {
  BW_CLASS(TPair, TPersistent)

 protected:
  void AssignTo(TPersistent* Dest) override {
    if (auto* strings = dynamic_cast<TStrings*>(Dest)) {
      strings->SetCommaText("left,right");
      return;
    }
    inherited::AssignTo(Dest);
  }
};

TEST(TStringsCore, AssignFromAnythingElseGoesToTheInheritedAssign) {
  TStringList list;
  list.Add("kept");
  TPair pair;
  list.Assign(&pair);
  EXPECT_EQ(Entries(list), (Lines{"left", "right"}));
  try {
    list.Assign(nullptr);
    ADD_FAILURE() << "assigning nil succeeded";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a nil to a TStringList");
  }
  TStringList other;
  EXPECT_THROW(pair.Assign(&other), EConvertError);
  EXPECT_EQ(Entries(list), (Lines{"left", "right"}));
}

// ---- files and streams ----

// Fails to read entries past the first, as a broken data source would.
class TFailingStrings : public TStrings {
  BW_CLASS(TFailingStrings, TStrings)

 public:
  String Get(int32_t Index) const override {
    if (Index > 0) throw EListError(SListIndexError);
    return "first";
  }
  int32_t GetCount() const override { return 2; }
};

TEST(TStringsStreams, SaveAndLoadThroughStreamsFromTheirPositions) {
  TStringList list;
  list.SetText("äöü\n\nlast");
  TStringStream stream("head:");
  stream.Seek(0, soFromEnd);
  list.SaveToStream(&stream);
  EXPECT_EQ(stream.DataString(), "head:äöü\n\nlast\n");

  stream.SetPosition(5);
  TStringList back;
  back.Add("old");
  back.LoadFromStream(&stream);
  EXPECT_EQ(Entries(back), (Lines{"äöü", "", "last"}));

  TStringStream windows("\xEF\xBB\xBFone\r\ntwo\r\n");
  back.LoadFromStream(&windows);
  EXPECT_EQ(Entries(back), (Lines{"one", "two"}));

  TMemoryStream empty;
  back.LoadFromStream(&empty);
  EXPECT_EQ(back.GetCount(), 0);
}

TEST(TStringsStreams, SaveToFileReplacesTheFileAndLoadFromFileReadsIt) {
  testing::TempFolder dir;
  String path = dir.Path("list.txt");
  testing::WriteFile(path, "old contents");
  TStringList list;
  list.SetCommaText("\"a b\",c");
  list.SaveToFile(path);
  EXPECT_EQ(testing::ReadFile(path), "a b\nc\n");

  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(&list));
}

TEST(TStringsStreams, FailuresRaiseAndLeaveListAndFileAsTheyWere) {
  testing::TempFolder dir;
  String path = dir.Path("list.txt");
  testing::WriteFile(path, "old contents");

  TFailingStrings failing;
  EXPECT_THROW(failing.SaveToFile(path), EListError);
  EXPECT_EQ(testing::ReadFile(path), "old contents");

  TStringList list;
  EXPECT_THROW(list.SaveToFile(dir.Path("missing/list.txt")), EFCreateError);
  EXPECT_THROW(list.SaveToFile(dir.Root()), EFCreateError);

  list.Add("kept");
  EXPECT_THROW(list.LoadFromFile(dir.Path("absent.txt")), EFOpenError);
  EXPECT_EQ(Entries(list), (Lines{"kept"}));
}

// Loads that fail (a folder for a file, a stream that breaks off part way, lines a sorted
// list refuses as duplicates) keep the lines and raise no change; the next load works.
TEST(TStringsStreams, FailedLoadsKeepTheLines) {
  testing::TempFolder dir;
  const String text = String(70000, 'x') + "\nb\na\n";
  testing::WriteFile(dir.Path("twice.txt"), "b\na\nB\n");
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  list.SetCommaText("kept,lines");
  int changes = 0;
  list.SetOnChange([&](TObject*) { ++changes; });
  const std::vector<std::function<void()>> loads = {
      [&] { list.LoadFromFile(dir.Root()); },
      [&] {
        testing::TFailingReadStream s(text, 65536 + 10);  // past the first block read
        list.LoadFromStream(&s);
      },
      [&] { list.LoadFromFile(dir.Path("twice.txt")); },
  };
  for (size_t i = 0; i < loads.size(); ++i) {
    EXPECT_THROW(loads[i](), Exception) << i;
    EXPECT_EQ(Entries(list), (Lines{"kept", "lines"})) << i;
  }
  EXPECT_EQ(changes, 0);
  TStringStream good(text);
  list.LoadFromStream(&good);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace bw
