#include "platform/core/TObject.h"

#include <gtest/gtest.h>

#include "platform/core/Format.h"
#include "platform/core/TEvent.h"
#include "platform/core/TSet.h"

namespace bw {
namespace {

class TAnimal : public TObject {
  BW_CLASS(TAnimal, TObject)
};
class TDog : public TAnimal {
  BW_CLASS(TDog, TAnimal)
};

TEST(TObjectTest, ClassNameAndAncestry) {
  TDog dog;
  TObject& asObject = dog;
  EXPECT_EQ(asObject.ClassName(), "TDog");
  EXPECT_TRUE(asObject.InheritsFrom(&TAnimal::StaticClassInfo()));
  EXPECT_TRUE(asObject.InheritsFrom("TObject"));
  EXPECT_FALSE(TAnimal().InheritsFrom(&TDog::StaticClassInfo()));
}

enum class TColorKind { Red, Green, Blue };

TEST(TSetTest, IncludeExcludeAndOperators) {
  TSet<TColorKind> s{TColorKind::Red};
  s.Include(TColorKind::Blue);
  EXPECT_TRUE(s.Contains(TColorKind::Blue));
  EXPECT_FALSE(s.Contains(TColorKind::Green));
  EXPECT_EQ(s - TSet<TColorKind>{TColorKind::Red}, TSet<TColorKind>{TColorKind::Blue});
  EXPECT_TRUE((s * TSet<TColorKind>{TColorKind::Green}).Empty());
}

TEST(TEventTest, UnassignedIsFalseAndAssignedKeepsItsName) {
  TNotifyEvent e;
  EXPECT_FALSE(e);
  TObject* seen = nullptr;
  e = TNotifyEvent([&](TObject* sender) { seen = sender; }, "Button1Click");
  TObject sender;
  e(&sender);
  EXPECT_EQ(seen, &sender);
  EXPECT_EQ(e.HandlerName(), "Button1Click");
}

TEST(FormatTest, SubstitutesInOrderAndKeepsPercent) {
  EXPECT_EQ(Format("Cannot assign a %s to a %s", {"TFont", "TPen"}),
            "Cannot assign a TFont to a TPen");
  EXPECT_EQ(Format("100%% of %s", {"it"}), "100% of it");
  EXPECT_EQ(Format("%s and %s", {"one"}), "one and ");
}

}  // namespace
}  // namespace bw
