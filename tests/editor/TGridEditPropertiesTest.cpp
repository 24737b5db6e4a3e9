// The grid's editor options: the glyph and the button width derived from it.

#include <gtest/gtest.h>

#include "editor/TGridEditProperties.h"
#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

TEST(GridEditPropertiesTest, NewOptionsHaveAnEmptyGlyphAndA15PixelButton) {
  TGridEditProperties Options;
  ASSERT_NE(Options.GetBitmap(), nullptr);
  EXPECT_TRUE(Options.GetBitmap()->Empty());
  EXPECT_EQ(Options.ButtonWidth(), 15);
}

TEST(GridEditPropertiesTest, GlyphIsCopiedAndSetsTheButtonWidth) {
  TGridEditProperties Options;
  TBitmap Glyph;
  Glyph.SetSize(16, 12);
  Options.SetBitmap(&Glyph);
  EXPECT_NE(Options.GetBitmap(), &Glyph);
  EXPECT_EQ(Options.GetBitmap()->Width(), 16);
  EXPECT_EQ(Options.ButtonWidth(), 20);

  // A width set afterwards wins until the next glyph.
  Options.SetButtonWidth(30);
  EXPECT_EQ(Options.ButtonWidth(), 30);

  Glyph.SetSize(0, 0);
  Options.SetBitmap(&Glyph);
  EXPECT_TRUE(Options.GetBitmap()->Empty());
  EXPECT_EQ(Options.ButtonWidth(), 4);
}

}  // namespace
}  // namespace bw
