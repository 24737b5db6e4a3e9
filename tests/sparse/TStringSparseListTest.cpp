#include "sparse/TStringSparseList.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "sparse/EStringSparseListError.h"

using namespace bw;

namespace {

// An object that records its own destruction, to prove the list never frees objects.
class TTracked : public TObject {
 public:
  explicit TTracked(bool* destroyed = nullptr) : FDestroyed(destroyed) {}
  ~TTracked() override {
    if (FDestroyed) *FDestroyed = true;
  }

 private:
  bool* FDestroyed;
};

// Counts OnChange calls and checks the sender.
struct ChangeCounter {
  int calls = 0;
  void Attach(TStringSparseList& l) {
    l.SetOnChange([this, &l](TObject* Sender) {
      EXPECT_EQ(Sender, &l);
      ++calls;
    });
  }
  int Take() { return std::exchange(calls, 0); }
};

}  // namespace

TEST(TStringSparseList, PutAndAbsentEntries) {
  TStringSparseList l(sqSmall);
  l.Put(3, "x");
  EXPECT_EQ(l.GetCount(), 4);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(l.Get(i), "");
    EXPECT_EQ(l.GetObject(i), nullptr);
  }
  EXPECT_EQ(l.Get(3), "x");
  EXPECT_EQ(l.GetObject(3), nullptr);
  EXPECT_EQ(l.Get(100), "");
  l.Put(3, "");
  EXPECT_EQ(l.GetCount(), 0);
}

TEST(TStringSparseList, ObjectsKeepTheirEntries) {
  TTracked o;
  TStringSparseList l(sqSmall);
  l.PutObject(2, &o);
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.Get(2), "");
  EXPECT_EQ(l.GetObject(2), &o);

  // Text written over an entry keeps its object; empty text does not remove it.
  l.Put(2, "t");
  EXPECT_EQ(l.GetObject(2), &o);
  l.Put(2, "");
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.GetObject(2), &o);

  // A nil object leaves the record in place, empty of both.
  l.PutObject(2, nullptr);
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.GetObject(2), nullptr);
  // ...until empty text is written over it.
  l.Put(2, "");
  EXPECT_EQ(l.GetCount(), 0);

  // A nil object where nothing is stored stores nothing.
  l.PutObject(5, nullptr);
  EXPECT_EQ(l.GetCount(), 0);
}

TEST(TStringSparseList, InsertDeleteExchange) {
  TStringSparseList l(sqSmall);
  l.Insert(0, "");
  EXPECT_EQ(l.GetCount(), 1);
  l.Clear();

  TTracked o;
  l.Put(0, "a");
  l.Put(1, "b");
  l.PutObject(1, &o);
  l.Insert(1, "new");
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.Get(1), "new");
  EXPECT_EQ(l.Get(2), "b");
  EXPECT_EQ(l.GetObject(2), &o);
  l.Exchange(0, 2);
  EXPECT_EQ(l.Get(0), "b");
  EXPECT_EQ(l.GetObject(0), &o);
  EXPECT_EQ(l.Get(2), "a");
  l.Delete(1);
  EXPECT_EQ(l.GetCount(), 2);
  EXPECT_EQ(l.Get(1), "a");
  l.Delete(7);  // past Count: nothing happens
  EXPECT_EQ(l.GetCount(), 2);
}

TEST(TStringSparseList, OnChangeFiresOncePerChangeButNotForExchange) {
  TTracked o;
  TStringSparseList l(sqSmall);
  ChangeCounter c;
  c.Attach(l);
  l.Put(0, "a");
  EXPECT_EQ(c.Take(), 1);
  l.PutObject(0, &o);
  EXPECT_EQ(c.Take(), 1);
  l.PutObject(9, nullptr);  // stores nothing, still a notification
  EXPECT_EQ(c.Take(), 1);
  l.Insert(0, "b");
  EXPECT_EQ(c.Take(), 1);
  l.Exchange(0, 1);
  EXPECT_EQ(c.Take(), 0);
  l.Delete(0);
  EXPECT_EQ(c.Take(), 1);
  l.Delete(50);
  EXPECT_EQ(c.Take(), 1);
  l.InsertObject(0, "c", &o);  // Insert, then PutObject
  EXPECT_EQ(c.Take(), 2);
  l.Clear();
  EXPECT_EQ(c.Take(), 1);
}

TEST(TStringSparseList, DestroyNotifiesAndNeverFreesObjects) {
  bool destroyedA = false, destroyedB = false;
  TTracked a(&destroyedA), b(&destroyedB);
  int calls = 0;
  {
    TStringSparseList l(sqLarge);
    l.AddObject("a", &a);
    l.PutObject(300, &b);
    l.Clear();
    EXPECT_EQ(l.GetCount(), 0);
    l.PutObject(4, &b);
    l.SetOnChange([&](TObject*) { ++calls; });
  }
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(destroyedA);
  EXPECT_FALSE(destroyedB);
}

TEST(TStringSparseList, NegativeIndexesRaiseBeforeAnyChange) {
  TTracked o;
  TStringSparseList l(sqSmall);
  l.Put(0, "a");
  ChangeCounter c;
  c.Attach(l);
  EXPECT_THROW(l.Get(-1), EListError);
  EXPECT_THROW(l.GetObject(-1), EListError);
  EXPECT_THROW(l.Put(-1, "x"), EListError);
  EXPECT_THROW(l.PutObject(-1, &o), EListError);
  EXPECT_THROW(l.Insert(-1, "x"), EListError);
  EXPECT_THROW(l.Delete(-1), EListError);
  EXPECT_THROW(l.Exchange(0, -1), EListError);
  EXPECT_EQ(c.Take(), 0);
  EXPECT_EQ(l.GetCount(), 1);
  EXPECT_EQ(l.Get(0), "a");
}

TEST(TStringSparseList, WritesAboveTheLimitAreRefused) {
  TTracked o;
  TStringSparseList l(sqSmall);
  const int32_t limit = 1048559;
  l.Put(limit, "top");
  EXPECT_EQ(l.GetCount(), limit + 1);
  EXPECT_THROW(l.Put(limit + 1, "x"), EListError);
  EXPECT_THROW(l.PutObject(limit + 1, &o), EListError);
  EXPECT_THROW(l.Insert(0, "x"), EListError);  // would push "top" past the limit
  EXPECT_EQ(l.Get(limit), "top");
  EXPECT_EQ(l.Get(0), "");
  EXPECT_EQ(l.GetCount(), limit + 1);
}

// Found by the model test: a refused move used to put an entry "back" that it had never
// taken out (an index at or past Count), or make an absent entry present.
TEST(TStringSparseList, RefusedMoveChangesNothing) {
  const int32_t limit = 1048559;
  TStringSparseList l(sqSmall);
  l.Put(2, "a");
  EXPECT_THROW(l.Move(10, -1), EListError);
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_THROW(l.Move(1, limit + 1), EListError);
  EXPECT_EQ(l.Get(2), "a");
  l.Put(2, "");
  EXPECT_EQ(l.GetCount(), 0);  // entry 1 is still absent

  // A moved absent entry stays absent.
  l.Put(5, "x");
  l.Move(1, 7);
  EXPECT_EQ(l.GetCount(), 8);
  EXPECT_EQ(l.Get(4), "x");
  l.Put(4, "");
  EXPECT_EQ(l.GetCount(), 0);
}

TEST(TStringSparseList, RaiseObjectError) {
  TStringSparseList l(sqSmall);
  try {
    l.RaiseObjectError();
    FAIL() << "no exception";
  } catch (const EStringSparseListError& e) {
    EXPECT_STREQ(e.what(), SPutObjectError);
  }
}

TEST(TStringSparseList, InheritedOperationsWork) {
  TTracked o;
  TStringSparseList l(sqSmall);
  l.Add("one");
  l.AddObject("two", &o);
  l.Add("three");
  EXPECT_EQ(l.IndexOf("two"), 1);
  EXPECT_EQ(l.Text(), "one\ntwo\nthree\n");
  l.Move(1, 2);
  EXPECT_EQ(l.Get(2), "two");
  EXPECT_EQ(l.GetObject(2), &o);
  EXPECT_EQ(l.Get(1), "three");
  l.SetText("x\n\ny\n");
  EXPECT_EQ(l.GetCount(), 3);
  EXPECT_EQ(l.Get(1), "");
  EXPECT_EQ(l.GetObject(2), nullptr);
}
