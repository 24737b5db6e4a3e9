#include "platform/core/TStringList.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "tests/platform/core/StringsTestSupport.h"

namespace bw {
namespace {

using testing::Entries;
using testing::Lines;

template <class F>
void ExpectStringListError(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no EStringListError raised";
  } catch (const EStringListError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(TStringListTest, BadIndexesRaiseAndChangeNothing) {
  TStringList list;
  list.SetCommaText("a,b,c");
  std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"Get(-1)", [&] { list.Get(-1); }},
      {"Get(Count)", [&] { list.Get(3); }},
      {"Put(Count)", [&] { list.Put(3, "x"); }},
      {"GetObject(Count)", [&] { list.GetObject(3); }},
      {"PutObject(-1)", [&] { list.PutObject(-1, nullptr); }},
      {"Insert(Count+1)", [&] { list.Insert(4, "x"); }},
      {"Delete(Count)", [&] { list.Delete(3); }},
      {"Exchange", [&] { list.Exchange(0, 3); }},
      {"Move to Count", [&] { list.Move(0, 3); }},
      {"Move from -1", [&] { list.Move(-1, 0); }},
  };
  for (auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    ExpectStringListError(call, SListIndexError);
    EXPECT_EQ(Entries(list), (Lines{"a", "b", "c"}));
  }
}

TEST(TStringListTest, EditingAnUnsortedList) {
  TStringList list;
  TObject o;
  list.SetCommaText("a,b,c,d");
  list.Insert(0, "first");
  list.InsertObject(5, "last", &o);
  list.Move(1, 3);
  list.Move(5, 0);
  list.Exchange(1, 2);
  list.Delete(5);
  EXPECT_EQ(Entries(list), (Lines{"last", "b", "first", "c", "a"}));
  EXPECT_EQ(list.GetObject(0), &o);
  list.Put(0, "renamed");
  EXPECT_EQ(list.GetObject(0), &o);  // the object stays with the entry
  EXPECT_EQ(list.Add("a"), 5);       // unsorted lists accept duplicates
}

TEST(TStringListTest, CapacityGrowsAndNeverDropsBelowTheCount) {
  TStringList list;
  EXPECT_EQ(list.GetCapacity(), 0);
  for (int i = 0; i < 10; ++i)
    list.Add(std::to_string(i));
  EXPECT_GE(list.GetCapacity(), 10);
  list.SetCapacity(50);
  EXPECT_EQ(list.GetCapacity(), 50);
  ExpectStringListError([&] { list.SetCapacity(9); }, SListCapacityError);
  ExpectStringListError([&] { list.SetCapacity(-1); }, SListCapacityError);
  list.SetCapacity(10);
  EXPECT_EQ(list.GetCapacity(), 10);
  EXPECT_EQ(list.Get(9), "9");
  list.Clear();
  EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(TStringListTest, SortedListKeepsOrderAndRefusesPositionalEdits) {
  TStringList list;
  list.SetCommaText("pear,Apple,fig,banana");
  list.SetSorted(true);
  EXPECT_EQ(Entries(list), (Lines{"Apple", "banana", "fig", "pear"}));
  EXPECT_EQ(list.Add("cherry"), 2);
  EXPECT_EQ(list.IndexOf("CHERRY"), 2);
  EXPECT_EQ(list.IndexOf("date"), -1);

  ExpectStringListError([&] { list.Insert(0, "x"); }, SSortedListError);
  ExpectStringListError([&] { list.Put(0, "x"); }, SSortedListError);
  ExpectStringListError([&] { list.Move(0, 2); }, SSortedListError);
  EXPECT_EQ(Entries(list), (Lines{"Apple", "banana", "cherry", "fig", "pear"}));

  list.SetSorted(false);
  list.Insert(0, "zz");  // allowed again once unsorted
  EXPECT_EQ(list.Get(0), "zz");
}

TEST(TStringListTest, DuplicatesOnASortedList) {
  TObject first, second;
  TStringList list;
  list.SetSorted(true);
  list.AddObject("b", &first);
  list.Add("a");

  // dupIgnore (the default): the existing entry stays as it is.
  EXPECT_EQ(list.AddObject("B", &second), 1);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetObject(1), &first);

  list.SetDuplicates(dupError);
  ExpectStringListError([&] { list.Add("b"); }, SDuplicateString);
  EXPECT_EQ(Entries(list), (Lines{"a", "b"}));

  list.SetDuplicates(dupAccept);
  list.Add("b");
  list.Add("B");
  EXPECT_EQ(list.GetCount(), 4);
  int32_t index = -1;
  EXPECT_TRUE(list.Find("B", index));
  EXPECT_EQ(index, 1);  // the first of the equal entries
  EXPECT_FALSE(list.Find("c", index));
  EXPECT_EQ(index, 4);
  EXPECT_FALSE(list.Find("0", index));
  EXPECT_EQ(index, 0);
}

TEST(TStringListTest, LoadingDuplicatesIntoAListThatRefusesThemKeepsTheOldLines) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupError);
  list.SetCommaText("x,y");
  ExpectStringListError([&] { list.SetText("b\na\nB\n"); }, SDuplicateString);
  ExpectStringListError([&] { list.SetCommaText("c,a,c"); }, SDuplicateString);
  EXPECT_EQ(Entries(list), (Lines{"x", "y"}));

  list.SetCaseSensitive(true);
  list.SetText("b\na\nB\n");
  EXPECT_EQ(list.GetCount(), 3);  // "b" and "B" differ now
}

TEST(TStringListTest, CaseSensitivityDecidesOrderAndSearch) {
  TStringList list;
  list.SetCommaText("b,B,a,A,ä,Ä");
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("a"), 2);
  EXPECT_EQ(list.IndexOf("Ä"), 5);
  list.SetSorted(true);
  EXPECT_EQ(Entries(list), (Lines{"A", "B", "a", "b", "Ä", "ä"}));
  EXPECT_EQ(list.IndexOf("b"), 3);

  // Switching the comparison re-sorts, so that searching keeps working.
  list.SetCaseSensitive(false);
  EXPECT_EQ(Entries(list), (Lines{"A", "a", "B", "b", "Ä", "ä"}));
  EXPECT_EQ(list.IndexOf("ä"), 4);
  EXPECT_EQ(list.Add("AB"), 2);
}

TEST(TStringListTest, CustomSortSeesTheIndexesItIsGivenAndIsStable) {
  TStringList list;
  list.SetCommaText("ccc,a,bb,dd,e");
  list.CustomSort([](TStringList* l, int32_t i, int32_t j) {
    return static_cast<int32_t>(l->Get(i).size()) - static_cast<int32_t>(l->Get(j).size());
  });
  EXPECT_EQ(Entries(list), (Lines{"a", "e", "bb", "dd", "ccc"}));

  int calls = 0;
  EXPECT_THROW(list.CustomSort([&](TStringList*, int32_t, int32_t) -> int32_t {
    if (++calls == 2) throw std::runtime_error("compare failed");
    return -1;
  }),
               std::runtime_error);
  EXPECT_EQ(Entries(list), (Lines{"a", "e", "bb", "dd", "ccc"}));

  list.Sort();
  EXPECT_EQ(Entries(list), (Lines{"a", "bb", "ccc", "dd", "e"}));
}

TEST(TStringListTest, ChangeEventsFireAroundEachChangeAndOnceForAnUpdate) {
  TStringList list;
  Lines log;
  list.SetOnChanging([&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    log.push_back("changing " + std::to_string(list.GetCount()));
  });
  list.SetOnChange([&](TObject*) { log.push_back("change " + std::to_string(list.GetCount())); });

  list.Add("a");
  EXPECT_EQ(log, (Lines{"changing 0", "change 1"}));

  log.clear();
  list.BeginUpdate();
  list.Add("b");
  list.BeginUpdate();
  list.Delete(0);
  list.EndUpdate();
  list.EndUpdate();
  EXPECT_EQ(log, (Lines{"changing 1", "change 1"}));

  log.clear();
  list.SetCommaText("x,y,z");  // one update for the whole text
  list.Move(0, 2);
  EXPECT_EQ(log, (Lines{"changing 1", "change 3", "changing 3", "change 3"}));

  log.clear();
  list.Clear();
  list.Clear();  // nothing to clear: no events
  EXPECT_EQ(log, (Lines{"changing 3", "change 0"}));
}

TEST(TStringListTest, ObjectsAreNotOwned) {
  struct TTracked : TObject {
    explicit TTracked(bool& destroyed) : FDestroyed(destroyed) {}
    ~TTracked() override { FDestroyed = true; }
    bool& FDestroyed;
  };
  bool destroyed = false;
  TTracked object(destroyed);
  {
    TStringList list;
    list.AddObject("x", &object);
    list.Delete(0);
    list.AddObject("y", &object);
  }
  EXPECT_FALSE(destroyed);
}

TEST(TStringListTest, DestroyingAListFiresNoEvents) {
  int events = 0;
  {
    TStringList list;
    list.Add("a");
    list.SetOnChange([&](TObject*) { ++events; });
  }
  EXPECT_EQ(events, 0);
}

}  // namespace
}  // namespace bw
