#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/graphics/TBrush.h"
#include "platform/graphics/TColor.h"
#include "platform/graphics/TPen.h"

namespace bw {
namespace {

TEST(Colors, SystemColoursResolveThroughTheClassicPalette) {
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
  EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
  EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
  EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clHighlight), clNavy);
  EXPECT_EQ(ColorToRGB(clHighlightText), clWhite);
  EXPECT_EQ(ColorToRGB(clGrayText), clGray);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(SysColor(200)), clBlack);  // unknown index
  EXPECT_EQ(ColorToPixel(clRed), 0xFF0000u);
  EXPECT_EQ(PixelToColor(0x0000FF), clBlue);
}

TEST(Colors, NamesAndNumbers) {
  for (TColor c : {clRed, clBtnFace, clNone, clInfoBk})
    EXPECT_EQ(StringToColor(ColorToString(c)), c);
  EXPECT_EQ(ColorToString(RGB(1, 2, 3)), "$00030201");
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  for (const char* bad : {"", "$", "clNothing", "12x", "99999999999"})
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

TEST(GraphicsObjects, ChangesAreReportedOnceAndAssignCopies) {
  TPen pen;
  int changes = 0;
  pen.OnChange = [&](TObject*) { ++changes; };
  pen.SetColor(clBlack);  // unchanged
  pen.SetWidth(2);
  pen.SetMode(pmXor);
  EXPECT_EQ(changes, 2);
  TPen copy;
  copy.Assign(&pen);
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Mode(), pmXor);
  TBrush brush;
  EXPECT_THROW(brush.Assign(&pen), EConvertError);
}

TEST(GraphicsObjects, ChoosingABrushColourEndsAClearStyle) {
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clWhite);  // the same colour still makes the brush paint
  EXPECT_EQ(brush.Style(), bsSolid);
}

TEST(GraphicsObjects, PenModesCombineBits) {
  EXPECT_EQ(ApplyPenMode(pmCopy, 0x123456, 0xFFFFFF), 0x123456u);
  EXPECT_EQ(ApplyPenMode(pmNot, 0x123456, 0xFFFFFF), 0u);
  EXPECT_EQ(ApplyPenMode(pmXor, 0xFF00FF, 0xFFFFFF), 0x00FF00u);
  EXPECT_EQ(ApplyPenMode(pmMask, 0xFF00FF, 0x00FFFF), 0x0000FFu);
  EXPECT_EQ(ApplyPenMode(pmNotXor, 0xFF00FF, 0xFFFFFF), 0xFF00FFu);
}

}  // namespace
}  // namespace bw
