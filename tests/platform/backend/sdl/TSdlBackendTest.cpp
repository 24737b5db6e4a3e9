#include "platform/backend/sdl/TSdlBackend.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

TEST(SdlBackendScaleTest, WholeNumberScaleFromTheDisplaysDotsPerInch) {
  EXPECT_EQ(TSdlBackend::ScaleForDpi(0.0f), 1) << "a display that does not say";
  EXPECT_EQ(TSdlBackend::ScaleForDpi(96.0f), 1);
  EXPECT_EQ(TSdlBackend::ScaleForDpi(144.0f), 1);
  EXPECT_EQ(TSdlBackend::ScaleForDpi(168.0f), 2);
  EXPECT_EQ(TSdlBackend::ScaleForDpi(192.0f), 2);
  EXPECT_EQ(TSdlBackend::ScaleForDpi(288.0f), 3);
  EXPECT_EQ(TSdlBackend::ScaleForDpi(5000.0f), 8);
}

TEST(SdlBackendRegistrationTest, LinkingTheLibraryMakesSdlKnown) {
  auto names = BackendNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "sdl"), names.end());
}

// The back end itself on SDL's off-screen video driver: real SDL windows and surfaces
// with no display.
class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    unsetenv("BW_SCALE");
    try {
      Sdl = std::make_unique<TSdlBackend>();
    } catch (const Exception& e) {
      GTEST_SKIP() << e.what();
    }
  }

  std::vector<uint32_t> Filled(int32_t W, int32_t H, uint32_t Color) {
    return std::vector<uint32_t>(size_t(W) * H, Color);
  }

  std::unique_ptr<TSdlBackend> Sdl;
};

TEST_F(SdlBackendTest, PresentingShowsTheChangedAreaOverWhatWasThere) {
  TWindowId w = Sdl->CreateWindow(TWindowParams{Bounds(10, 10, 20, 10), "t"});
  Sdl->ShowWindow(w, true);
  auto red = Filled(20, 10, 0xFF0000);
  Sdl->Present(w, TPixelView{red.data(), 20, 10, 20}, Bounds(0, 0, 0, 0));
  auto shot = Sdl->SnapshotWindow(w);
  EXPECT_EQ(shot->ScanLine(9)[19], 0xFF0000u) << "the first present copies everything";

  auto blue = Filled(20, 10, 0x0000FF);
  Sdl->Present(w, TPixelView{blue.data(), 20, 10, 20}, Bounds(2, 3, 4, 2));
  shot = Sdl->SnapshotWindow(w);
  EXPECT_EQ(shot->ScanLine(3)[2], 0x0000FFu);
  EXPECT_EQ(shot->ScanLine(4)[5], 0x0000FFu);
  EXPECT_EQ(shot->ScanLine(5)[2], 0xFF0000u) << "below the changed area";
  EXPECT_EQ(shot->ScanLine(3)[6], 0xFF0000u) << "right of the changed area";

  Sdl->SetWindowBounds(w, Bounds(10, 10, 30, 12));
  auto green = Filled(30, 12, 0x00FF00);
  Sdl->Present(w, TPixelView{green.data(), 30, 12, 30}, Bounds(0, 0, 1, 1));
  EXPECT_EQ(Sdl->SnapshotWindow(w)->ScanLine(11)[29], 0x00FF00u) << "a new size copies all";
  Sdl->DestroyWindow(w);
  EXPECT_THROW(Sdl->SnapshotWindow(w), EInvalidOperation);
}

TEST_F(SdlBackendTest, TimersFireOnTheRealClockAndStopWhenTold) {
  uint32_t id = Sdl->StartTimer(20);
  uint64_t start = Sdl->TickCount();
  TBackendEvent e;
  bool fired = false;
  while (!fired && Sdl->TickCount() - start < 2000) {
    Sdl->WaitEvent(100);
    while (Sdl->PollEvent(e))
      fired = fired || (e.Kind == TBackendEventKind::Timer && e.TimerId == id);
  }
  EXPECT_TRUE(fired);
  EXPECT_GE(Sdl->TickCount() - start, 20u);
  Sdl->StopTimer(id);
  Sdl->WaitEvent(40);
  bool again = false;
  while (Sdl->PollEvent(e))
    again = again || e.Kind == TBackendEventKind::Timer;
  EXPECT_FALSE(again);
}

// The first SIGTERM ends the wait as a Quit and leaves the default behind, so that a second
// ends a program that no longer reads its events.
TEST_F(SdlBackendTest, AQuitSignalIsAQuitOnceAndThenEndsTheProcess) {
  struct sigaction now {};
  sigaction(SIGTERM, nullptr, &now);
  if (now.sa_handler == SIG_IGN) GTEST_SKIP() << "SIGTERM is ignored here";
  raise(SIGTERM);
  const uint64_t start = Sdl->TickCount();
  Sdl->WaitEvent(5000);
  EXPECT_LT(Sdl->TickCount() - start, 1000u);
  TBackendEvent e;
  int32_t quits = 0;
  while (Sdl->PollEvent(e))
    quits += e.Kind == TBackendEventKind::Quit;
  EXPECT_EQ(quits, 1);
  sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(SdlBackendStartTest, NamedWithoutADisplayItRaisesAndSaysWhy) {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_FALSE(TSdlBackend::DisplayNamed());
  setenv("BW_BACKEND", "sdl", 1);
  try {
    CreateDefaultBackend();
    ADD_FAILURE() << "an SDL back end without a display";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(std::string(e.what()).find("cannot open a display"), std::string::npos) << e.what();
  }
  unsetenv("BW_BACKEND");
  unsetenv("BW_HEADLESS");
  auto chosen = CreateDefaultBackend();
  EXPECT_EQ(dynamic_cast<TSdlBackend*>(chosen.get()), nullptr) << "no display: headless";
}

TEST(SdlBackendStartTest, ABadScaleIsRefusedWithTheReason) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("BW_SCALE", "0.5", 1);
  try {
    TSdlBackend sdl;
    ADD_FAILURE() << "started with BW_SCALE=0.5";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(std::string(e.what()).find("BW_SCALE"), std::string::npos) << e.what();
  }
  unsetenv("BW_SCALE");
}

}  // namespace
}  // namespace bw
