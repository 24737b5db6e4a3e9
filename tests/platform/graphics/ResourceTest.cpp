#include <gtest/gtest.h>

#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TResourceModule.h"

namespace bw {
namespace {

TEST(Resources, PredefinedBitmapsOfThePlatform) {
  TBitmap arrow;
  arrow.SetHandle(LoadBitmap(nullptr, OBM_COMBO));
  ASSERT_FALSE(arrow.Empty());
  // A single image whose bottom-left pixel is background, so it draws transparently.
  EXPECT_EQ(arrow.TransparentColor(), clSilver);
  EXPECT_EQ(arrow.Canvas()->Pixels(arrow.Width() / 2, 1), clBlack);
  for (const char* name :
       {"OUTLINE_PLUS", "OUTLINE_MINUS", "outline_open", "OUTLINE_CLOSED", "OUTLINE_LEAF"}) {
    HBITMAP h = LoadBitmap(nullptr, name);
    EXPECT_NE(h, nullptr) << name;
    DeleteObject(h);
  }
}

TEST(Resources, UnknownNamesAndIdentifiersGiveNull) {
  EXPECT_EQ(LoadBitmap(nullptr, "NO_SUCH_BITMAP"), nullptr);
  EXPECT_EQ(LoadBitmap(nullptr, 1), nullptr);
  TResourceModule empty("empty", {});
  EXPECT_EQ(LoadBitmap(&empty, "OBM_COMBO"), nullptr);
  EXPECT_EQ(LoadBitmap(&empty, OBM_COMBO), nullptr);
}

}  // namespace
}  // namespace bw
