#include <gtest/gtest.h>

#include "grid/TCorvath.h"
#include "package/Register.h"
#include "platform/core/ComponentPalette.h"
#include "stringgrid/TVelloran.h"

namespace bw {
namespace {

TEST(RegisterTest, PutsTheGridsOnTheBrantwellPageInOrder) {
  ClearPalette();
  Register();
  const std::vector<TClass> Classes = PaletteClasses("Brantwell");
  ASSERT_EQ(Classes.size(), 2u);
  EXPECT_EQ(Classes[0], &TCorvath::StaticClassInfo());
  EXPECT_EQ(Classes[1], &TVelloran::StaticClassInfo());
  EXPECT_EQ(GetClass("TCorvath"), &TCorvath::StaticClassInfo());
  EXPECT_EQ(GetClass("TVelloran"), &TVelloran::StaticClassInfo());
  EXPECT_STREQ(PackageDescription, "Corvath and Velloran");
}

}  // namespace
}  // namespace bw
