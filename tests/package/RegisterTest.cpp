#include <gtest/gtest.h>

#include "grid/TCorvath.h"
#include "package/Register.h"
#include "platform/core/ComponentPalette.h"

namespace bw {
namespace {

TEST(RegisterTest, PutsTheGridsOnTheBrantwellPageInOrder) {
  ClearPalette();
  Register();
  const std::vector<TClass> Classes = PaletteClasses("Brantwell");
  ASSERT_FALSE(Classes.empty());
  EXPECT_EQ(Classes[0], &TCorvath::StaticClassInfo());
  if (Classes.size() > 1) {
    EXPECT_EQ(String(Classes[1]->Name), "TVelloran");
  }
  EXPECT_LE(Classes.size(), 2u);
  EXPECT_EQ(GetClass("TCorvath"), &TCorvath::StaticClassInfo());
  EXPECT_STREQ(PackageDescription, "Corvath and Velloran");
}

}  // namespace
}  // namespace bw
