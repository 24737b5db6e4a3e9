#include "platform/core/TList.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"

namespace bw {
namespace {

Pointer P(intptr_t v) {
  return reinterpret_cast<Pointer>(v);
}

std::vector<intptr_t> Values(const TList& list) {
  std::vector<intptr_t> result;
  for (int32_t i = 0; i < list.Count(); ++i)
    result.push_back(reinterpret_cast<intptr_t>(list.Items(i)));
  return result;
}

TList* Filled(TList& list, std::initializer_list<intptr_t> values) {
  for (intptr_t v : values)
    list.Add(P(v));
  return &list;
}

template <class F>
void ExpectListError(F&& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no EListError raised";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), message);
  }
}

TEST(TListTest, AddInsertDeleteRemoveKeepOrder) {
  TList list;
  EXPECT_EQ(list.Add(P(1)), 0);
  EXPECT_EQ(list.Add(P(3)), 1);
  list.Insert(1, P(2));
  list.Insert(3, P(4));  // at Count: appends
  list.Insert(0, P(0));
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{0, 1, 2, 3, 4}));
  list.Add(P(2));
  EXPECT_EQ(list.IndexOf(P(2)), 2);
  EXPECT_EQ(list.Remove(P(2)), 2);  // first occurrence only
  EXPECT_EQ(list.Remove(P(99)), -1);
  list.Delete(0);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 3, 4, 2}));
  EXPECT_EQ(list.First(), P(1));
  EXPECT_EQ(list.Last(), P(2));
  list.SetItems(1, nullptr);
  EXPECT_EQ(list.IndexOf(nullptr), 1);
}

TEST(TListTest, BadIndexesRaiseAndChangeNothing) {
  TList list;
  Filled(list, {10, 20, 30});
  std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"Items(-1)", [&] { list.Items(-1); }},
      {"Items(Count)", [&] { list.Items(3); }},
      {"SetItems(Count)", [&] { list.SetItems(3, P(1)); }},
      {"Insert(Count+1)", [&] { list.Insert(4, P(1)); }},
      {"Insert(-1)", [&] { list.Insert(-1, P(1)); }},
      {"Delete(Count)", [&] { list.Delete(3); }},
      {"Delete(-1)", [&] { list.Delete(-1); }},
      {"Exchange second bad", [&] { list.Exchange(0, 3); }},
      {"Exchange first bad", [&] { list.Exchange(-1, 0); }},
      {"Move to Count", [&] { list.Move(0, 3); }},
      {"Move from -1", [&] { list.Move(-1, 0); }},
  };
  for (auto& [name, call] : cases) {
    SCOPED_TRACE(name);
    ExpectListError(call, SListIndexError);
    EXPECT_EQ(Values(list), (std::vector<intptr_t>{10, 20, 30}));
  }
  TList empty;
  ExpectListError([&] { empty.First(); }, SListIndexError);
  ExpectListError([&] { empty.Last(); }, SListIndexError);
}

TEST(TListTest, CapacityAndCountLimits) {
  TList list;
  Filled(list, {1, 2, 3});
  ExpectListError([&] { list.SetCapacity(2); }, SListCapacityError);
  ExpectListError([&] { list.SetCapacity(-1); }, SListCapacityError);
  ExpectListError([&] { list.SetCapacity(TList::MaxListSize + 1); }, SListCapacityError);
  ExpectListError([&] { list.SetCount(-1); }, SListCountError);
  ExpectListError([&] { list.SetCount(TList::MaxListSize + 1); }, SListCountError);
  EXPECT_EQ(list.Count(), 3);

  list.SetCapacity(3);
  EXPECT_EQ(list.Capacity(), 3);
  list.Expand();
  EXPECT_GT(list.Capacity(), 3);
  list.SetCapacity(100);
  EXPECT_EQ(list.Capacity(), 100);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(TListTest, SetCountExposesNilEntriesAndPackDropsThem) {
  TList list;
  Filled(list, {1, 2, 3});
  list.SetCount(1);
  list.SetCount(4);  // the dropped entries must not reappear
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 0, 0, 0}));
  list.SetItems(2, P(7));
  list.Pack();
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 7}));
  list.SetCount(3);
  EXPECT_EQ(list.Items(2), nullptr);
}

TEST(TListTest, MoveAndExchange) {
  TList list;
  Filled(list, {0, 1, 2, 3, 4});
  list.Move(1, 3);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{0, 2, 3, 1, 4}));
  list.Move(4, 0);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{4, 0, 2, 3, 1}));
  list.Exchange(0, 4);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 0, 2, 3, 4}));
}

TEST(TListTest, SortIsStableAndAThrowingCompareLeavesTheListWhole) {
  TList list;
  Filled(list, {31, 12, 21, 11, 32, 22});
  // Compare by tens only, so the units show whether equal items kept their order.
  list.Sort([](Pointer a, Pointer b) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(a) / 10 -
                                reinterpret_cast<intptr_t>(b) / 10);
  });
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{12, 11, 21, 22, 31, 32}));

  int calls = 0;
  EXPECT_THROW(list.Sort([&](Pointer, Pointer) -> int32_t {
    if (++calls == 3) throw std::runtime_error("compare failed");
    return 1;
  }),
               std::runtime_error);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{12, 11, 21, 22, 31, 32}));
}

}  // namespace
}  // namespace bw
