// Where the combo editor's popup goes on the screen.

#include <gtest/gtest.h>

#include "editor/PlacePopup.h"

namespace bw::testing {
namespace {

struct TPlaceCase {
  const char* Name;
  TRect Anchor;
  int32_t Width, Height;
  TPoint Expected;
};

TEST(PlacePopupTest, EveryPopupThatFitsIsWhollyOnTheScreen) {
  const TRect Screen{0, 0, 300, 200};
  const TPlaceCase Cases[] = {
      {"fits below, right edges lined up", {100, 20, 200, 40}, 80, 100, {120, 40}},
      {"ends exactly at the bottom", {100, 20, 200, 40}, 80, 160, {120, 40}},
      {"fits above only", {100, 150, 200, 170}, 80, 100, {120, 50}},
      {"neither, more room below", {100, 60, 200, 80}, 100, 150, {100, 50}},
      {"neither, more room above", {100, 120, 200, 140}, 80, 150, {120, 0}},
      {"would pass the right edge", {100, 20, 200, 40}, 250, 100, {50, 40}},
      {"lines up left at the left edge", {0, 20, 80, 40}, 100, 100, {0, 40}},
      {"wider than the screen", {100, 20, 200, 40}, 400, 100, {0, 40}},
      {"larger than the screen", {100, 60, 200, 80}, 400, 300, {0, 0}},
  };
  for (const TPlaceCase& c : Cases)
    EXPECT_EQ(PlacePopup(c.Anchor, c.Width, c.Height, Screen), c.Expected) << c.Name;
}

}  // namespace
}  // namespace bw::testing
