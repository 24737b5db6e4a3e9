// The "List" property of a sparse string list in form streams.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "sparse/TStringSparseList.h"

using namespace bw;

namespace {

// Writes the list's stored properties (which end the property list) into a stream.
String WriteProps(TStringSparseList& l) {
  TMemoryStream s;
  {
    TWriter w(&s);
    w.WriteProperties(&l);
    w.WriteListEnd();
  }
  return String(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

void ReadProps(TStringSparseList& l, const String& bytes) {
  TMemoryStream s;
  s.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
  s.SetPosition(0);
  TReader r(&s);
  r.ReadProperties(&l);
}

// Entries 'a' at 0, an object with empty text at 3, 'c' at 5.
void FillSample(TStringSparseList& l, TObject* o) {
  l.Put(0, "a");
  l.PutObject(3, o);
  l.Put(5, "c");
}

}  // namespace

TEST(TStringSparseListStream, ListValueLayout) {
  TObject o;
  TStringSparseList l(sqSmall);
  FillSample(l, &o);
  TMemoryStream s;
  {
    TWriter w(&s);
    l.WriteItems(&w);
  }
  s.SetPosition(0);
  TReader r(&s);
  EXPECT_EQ(r.ReadInteger(), 3);
  EXPECT_EQ(r.ReadInteger(), 0);
  EXPECT_EQ(r.ReadString(), "a");
  EXPECT_EQ(r.ReadInteger(), 3);
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_EQ(r.ReadInteger(), 5);
  EXPECT_EQ(r.ReadString(), "c");
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(TStringSparseListStream, RoundTripKeepsIndexesAndEmptyEntries) {
  TObject o;
  TStringSparseList source(sqSmall);
  FillSample(source, &o);
  const String stored = WriteProps(source);

  TStringSparseList target(sqLarge);
  int changes = 0;
  target.SetOnChange([&](TObject*) { ++changes; });
  ReadProps(target, stored);
  EXPECT_EQ(changes, 6);  // each entry is inserted, then given its (nil) object
  EXPECT_EQ(target.GetCount(), 6);
  EXPECT_EQ(target.Get(0), "a");
  EXPECT_EQ(target.Get(3), "");
  EXPECT_EQ(target.GetObject(3), nullptr);
  EXPECT_EQ(target.Get(5), "c");
  // The empty entry at 3 is present again: writing gives the same value.
  EXPECT_EQ(WriteProps(target), stored);
}

TEST(TStringSparseListStream, EmptyListIsWrittenToo) {
  TStringSparseList l(sqSmall);
  const String stored = WriteProps(l);
  EXPECT_NE(stored.find("List"), String::npos);
  TStringSparseList target(sqSmall);
  ReadProps(target, stored);
  EXPECT_EQ(target.GetCount(), 0);
}

TEST(TStringSparseListStream, ReadingDoesNotClearFirst) {
  TStringSparseList source(sqSmall);
  source.Put(1, "x");
  TStringSparseList target(sqSmall);
  target.Put(0, "keep");
  target.Put(1, "shifted");
  ReadProps(target, WriteProps(source));
  EXPECT_EQ(target.GetCount(), 3);
  EXPECT_EQ(target.Get(0), "keep");
  EXPECT_EQ(target.Get(1), "x");
  EXPECT_EQ(target.Get(2), "shifted");
}

namespace {

// A "List" property whose value Write produces.
String StoredList(const std::function<void(TWriter&)>& Write) {
  TMemoryStream s;
  {
    TWriter w(&s);
    w.WriteStr("List");
    Write(w);
    w.WriteListEnd();
  }
  return String(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

String ListValue(int32_t Count, const std::vector<std::pair<int32_t, String>>& Entries) {
  return StoredList([&](TWriter& w) {
    w.WriteInteger(Count);
    for (const auto& [index, text] : Entries) {
      w.WriteInteger(index);
      w.WriteString(text);
    }
  });
}

}  // namespace

TEST(TStringSparseListStream, DamagedValuesRaiseAndChangeNothing) {
  TObject o;
  TStringSparseList source(sqSmall);
  FillSample(source, &o);
  const String stored = WriteProps(source);
  const int32_t limit = TSparseList(sqSmall).MaxIndex();
  const std::vector<String> damaged = {
      stored.substr(0, stored.rfind('c') - 1),        // cut inside the third entry
      ListValue(3, {{0, "a"}, {1, "b"}}),             // fewer entries than counted
      ListValue(2, {{0, "a"}, {-4, "negative"}}),     // an index Insert refuses
      ListValue(2, {{0, "a"}, {limit + 1, "past"}}),  // past the highest storable index
      ListValue(2, {{limit, "top"}, {0, "pushes"}}),  // shifts the top entry past it
      StoredList([](TWriter& w) {                     // a string where an index belongs
        w.WriteInteger(1);
        w.WriteString("0");
        w.WriteString("x");
      }),
  };
  for (const String& bad : damaged) {
    TStringSparseList target(sqSmall);
    target.Put(0, "keep");
    target.Put(2, "also");
    int changes = 0;
    target.SetOnChange([&](TObject*) { ++changes; });
    EXPECT_THROW(ReadProps(target, bad), Exception);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(target.GetCount(), 3);
    EXPECT_EQ(target.Get(0), "keep");
    EXPECT_EQ(target.Get(2), "also");
  }
}
