#include "platform/grids/TGridScrollBar.h"

#include <gtest/gtest.h>

#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"

namespace bw {
namespace {

TEST(TGridScrollBar, ThumbShowsThePageAndTravelsTheTrack) {
  TGridScrollBar bar(sbVertical);
  bar.SetBoundsRect(Rect(100, 0, 116, 232));  // a 200-pixel track between two arrows
  bar.SetParams(1, 71, 30, 1);                // 100 rows, 30 a page
  EXPECT_EQ(bar.TrackRect(), Rect(100, 16, 116, 216));
  EXPECT_EQ(bar.ThumbRect(), Rect(100, 16, 116, 76));
  bar.SetParams(1, 71, 30, 71);
  EXPECT_EQ(bar.ThumbRect(), Rect(100, 156, 116, 216));
  EXPECT_EQ(bar.PartAt({105, 5}), spLineUp);
  EXPECT_EQ(bar.PartAt({105, 100}), spPageUp);
  EXPECT_EQ(bar.PartAt({105, 160}), spThumb);
  EXPECT_EQ(bar.PartAt({105, 220}), spLineDown);
  EXPECT_EQ(bar.PartAt({99, 160}), spNone);
}

TEST(TGridScrollBar, HugeRangesKeepAUsableThumbAndRoundTrip) {
  TGridScrollBar bar(sbVertical);
  bar.SetBoundsRect(Rect(0, 0, 16, 800));
  bar.SetParams(1, 999'970, 31, 500'000);
  EXPECT_EQ(bar.ThumbRect().Height(), TGridScrollBar::MinThumb);
  for (int32_t p : {1, 2, 250'000, 999'969, 999'970})
    EXPECT_NEAR(bar.PositionAt(bar.ThumbOffset(p)), p, 1300) << p;  // one pixel's worth
  EXPECT_EQ(bar.PositionAt(-50), 1);
  EXPECT_EQ(bar.PositionAt(10'000), 999'970);
}

TEST(TGridScrollBar, TooShortForAThumb) {
  TGridScrollBar bar(sbHorizontal);
  bar.SetBoundsRect(Rect(0, 0, 36, 16));
  bar.SetParams(0, 10, 2, 5);
  EXPECT_TRUE(bar.ThumbRect().IsEmpty());
  EXPECT_EQ(bar.PartAt({18, 8}), spNone);
  EXPECT_EQ(bar.PositionAt(3), 0);
}

TEST(TGridScrollBar, PaintsTrackThumbAndArrowsInTheirPlaces) {
  TBitmap bmp;
  bmp.SetSize(16, 232);
  TGridScrollBar bar(sbVertical);
  bar.SetBoundsRect(Rect(0, 0, 16, 232));
  bar.SetParams(1, 71, 30, 36);
  bar.Paint(bmp.Canvas(), spNone);
  TCanvas* c = bmp.Canvas();
  TRect thumb = bar.ThumbRect();
  EXPECT_EQ(c->Pixels(8, (thumb.Top + thumb.Bottom) / 2), ColorToRGB(clBtnFace));
  EXPECT_EQ(c->Pixels(8, thumb.Top - 3), ColorToRGB(clBtnHighlight));  // track above
  EXPECT_EQ(c->Pixels(8, thumb.Bottom + 3), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(c->Pixels(8, 8), ColorToRGB(clBtnText));  // the up arrow's point
  EXPECT_EQ(c->Pixels(15, 8), ColorToRGB(clBlack));   // raised edge
}

}  // namespace
}  // namespace bw
