#include "platform/backend/sdl/TSdlPresenter.h"

#include <SDL_surface.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

// Presenting onto surfaces in memory, in another pixel order than the platform's, as a
// window's surface may be.
class SdlPresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pixels.assign(size_t(W) * H, 0);
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x)
        Pixels[size_t(y) * W + x] = uint32_t(0x100000 * x + 0x100 * y + 0x7F);
  }
  SDL_Surface* NewTarget(int32_t Width, int32_t Height) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, Width, Height, 32, SDL_PIXELFORMAT_BGR888);
    SDL_FillRect(s, nullptr, 0);
    Surfaces.push_back(s);
    return s;
  }
  void TearDown() override {
    for (SDL_Surface* s : Surfaces)
      SDL_FreeSurface(s);
  }
  // A target pixel as 0x00RRGGBB.
  static uint32_t At(SDL_Surface* S, int32_t X, int32_t Y) {
    uint32_t raw = static_cast<uint32_t*>(S->pixels)[size_t(Y) * (S->pitch / 4) + X];
    uint8_t r, g, b;
    SDL_GetRGB(raw, S->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
  }
  TPixelView View() const { return TPixelView{Pixels.data(), W, H, W}; }

  static constexpr int32_t W = 8, H = 6;
  std::vector<uint32_t> Pixels;
  std::vector<SDL_Surface*> Surfaces;
};

TEST_F(SdlPresenterTest, CopiesTheChangedAreaOnlyUnlessAFullCopyIsDue) {
  EXPECT_EQ(TSdlPresenter::AreaToCopy(View(), Bounds(2, 1, 3, 2), false), Bounds(2, 1, 3, 2));
  EXPECT_EQ(TSdlPresenter::AreaToCopy(View(), Bounds(6, 4, 10, 10), false), Bounds(6, 4, 2, 2));
  EXPECT_TRUE(TSdlPresenter::AreaToCopy(View(), Bounds(20, 20, 5, 5), false).IsEmpty());
  EXPECT_EQ(TSdlPresenter::AreaToCopy(View(), Bounds(2, 1, 3, 2), true), Bounds(0, 0, W, H));

  SDL_Surface* target = NewTarget(W, H);
  TRect written = TSdlPresenter::CopyToSurface(View(), Bounds(2, 1, 3, 2), 1, target);
  EXPECT_EQ(written, Bounds(2, 1, 3, 2));
  EXPECT_EQ(At(target, 2, 1), Pixels[1 * W + 2]);
  EXPECT_EQ(At(target, 4, 2), Pixels[2 * W + 4]);
  EXPECT_EQ(At(target, 1, 1), 0u) << "outside the changed area";
  EXPECT_EQ(At(target, 5, 2), 0u);
}

TEST_F(SdlPresenterTest, AtScaleTwoEachPixelBecomesABlock) {
  SDL_Surface* target = NewTarget(2 * W, 2 * H);
  TRect written = TSdlPresenter::CopyToSurface(View(), Bounds(1, 1, 2, 2), 2, target);
  EXPECT_EQ(written, Bounds(2, 2, 4, 4));
  for (int32_t y = 2; y < 6; ++y)
    for (int32_t x = 2; x < 6; ++x)
      EXPECT_EQ(At(target, x, y), Pixels[size_t(y / 2) * W + x / 2]) << x << "," << y;
  EXPECT_EQ(At(target, 6, 2), 0u);

  auto back = TSdlPresenter::ReadSurface(target, W, H, 2);
  EXPECT_EQ(back->ScanLine(2)[2], Pixels[2 * W + 2]);
  EXPECT_EQ(back->ScanLine(0)[0], 0u);
}

TEST_F(SdlPresenterTest, ASurfaceSmallerThanThePixelsTakesWhatFits) {
  SDL_Surface* target = NewTarget(5, 4);
  TRect written = TSdlPresenter::CopyToSurface(View(), Bounds(0, 0, W, H), 1, target);
  EXPECT_EQ(written, Bounds(0, 0, 5, 4));
  EXPECT_EQ(At(target, 4, 3), Pixels[3 * W + 4]);
  EXPECT_TRUE(TSdlPresenter::CopyToSurface(View(), Bounds(0, 0, W, H), 1, nullptr).IsEmpty());
}

}  // namespace
}  // namespace bw
