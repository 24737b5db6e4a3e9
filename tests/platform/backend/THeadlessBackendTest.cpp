#include "platform/backend/headless/THeadlessBackend.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/backend/Backend.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

std::vector<TBackendEvent> Drain(THeadlessBackend& b) {
  std::vector<TBackendEvent> events;
  TBackendEvent e;
  while (b.PollEvent(e))
    events.push_back(e);
  return events;
}

TWindowId Shown(THeadlessBackend& b, TRect bounds, bool activate = true) {
  TWindowId id = b.CreateWindow(TWindowParams{bounds, "w", false, false});
  b.ShowWindow(id, true);
  b.RaiseWindow(id, activate);
  return id;
}

TEST(THeadlessBackendTest, ScreenIs1024By768UnlessSet) {
  THeadlessBackend b;
  EXPECT_EQ(b.ScreenWidth(), 1024);
  EXPECT_EQ(b.ScreenHeight(), 768);
  b.SetScreenSize(800, 600);
  EXPECT_EQ(b.ScreenWidth(), 800);
  EXPECT_EQ(b.ScreenHeight(), 600);
}

TEST(THeadlessBackendTest, MouseGoesToTheTopmostVisibleWindowInItsCoordinates) {
  THeadlessBackend b;
  TWindowId lower = Shown(b, Bounds(0, 0, 200, 200));
  TWindowId upper = Shown(b, Bounds(100, 100, 200, 200));
  b.MouseMove(TPoint{150, 120});
  b.MouseMove(TPoint{50, 50});
  b.MouseMove(TPoint{900, 700});  // the desktop: only the leaving is told
  auto events = Drain(b);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].Window, upper);
  EXPECT_EQ(events[0].X, 50);
  EXPECT_EQ(events[0].Y, 20);
  EXPECT_EQ(events[1].Kind, TBackendEventKind::MouseLeave);
  EXPECT_EQ(events[1].Window, upper);
  EXPECT_EQ(events[2].Window, lower);
  EXPECT_EQ(events[3].Kind, TBackendEventKind::MouseLeave);
  EXPECT_EQ(events[3].Window, lower);

  b.ShowWindow(upper, false);
  EXPECT_EQ(b.WindowAt(TPoint{150, 120}), lower);
  b.RaiseWindow(lower, false);
  EXPECT_EQ(b.WindowStack(), std::vector<TWindowId>{lower});
}

TEST(THeadlessBackendTest, CaptureTakesEveryMouseEventEvenOutside) {
  THeadlessBackend b;
  TWindowId a = Shown(b, Bounds(0, 0, 100, 100));
  Shown(b, Bounds(200, 0, 100, 100));
  b.SetMouseCapture(a);
  b.MouseUp(TPoint{250, 50});
  auto events = Drain(b);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Window, a);
  EXPECT_EQ(events[0].X, 250);
  b.DestroyWindow(a);
  EXPECT_EQ(b.MouseCapture(), 0u);
}

TEST(THeadlessBackendTest, SecondQuickNearbyPressIsADoubleClick) {
  THeadlessBackend b;
  Shown(b, Bounds(0, 0, 100, 100));
  b.DoubleClick(TPoint{10, 10});
  b.Click(TPoint{10, 10});  // never part of a double-click
  b.MouseDown(TPoint{10, 10});
  b.AdvanceTime(THeadlessBackend::DoubleClickTime + 1);
  b.MouseDown(TPoint{10, 10});  // too late
  b.MouseDown(TPoint{14, 10});  // too far
  std::vector<int> clicks;
  for (auto& e : Drain(b))
    if (e.Kind == TBackendEventKind::MouseDown) clicks.push_back(e.Clicks);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 1, 2, 1, 1}));
}

TEST(THeadlessBackendTest, KeysAndTextGoToTheActiveWindowOnly) {
  THeadlessBackend b;
  b.Key(VK_RETURN);  // no active window: dropped
  TWindowId w = Shown(b, Bounds(0, 0, 10, 10));
  b.Key('A', kModCtrl);
  b.TypeText("h\xC3\xA9");
  auto events = Drain(b);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].Kind, TBackendEventKind::KeyDown);
  EXPECT_EQ(events[0].Modifiers, kModCtrl);
  EXPECT_EQ(events[1].Kind, TBackendEventKind::KeyUp);
  EXPECT_EQ(events[2].Text, "h\xC3\xA9");
  EXPECT_EQ(events[2].Window, w);
}

TEST(THeadlessBackendTest, ProgramActivationIsQuietUserActivationIsReported) {
  THeadlessBackend b;
  TWindowId a = Shown(b, Bounds(0, 0, 10, 10));
  TWindowId c = Shown(b, Bounds(0, 0, 10, 10));
  EXPECT_EQ(b.ActiveWindow(), c);
  EXPECT_TRUE(Drain(b).empty());
  b.UserActivate(a);
  auto events = Drain(b);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].Kind, TBackendEventKind::Deactivate);
  EXPECT_EQ(events[0].Window, c);
  EXPECT_EQ(events[1].Kind, TBackendEventKind::Activate);
  b.ShowWindow(a, false);
  EXPECT_EQ(b.ActiveWindow(), 0u);
}

TEST(THeadlessBackendTest, APopUpThatIsNeverActivatedLeavesTheKeysWhereTheyAre) {
  THeadlessBackend b;
  TWindowId form = Shown(b, Bounds(0, 0, 100, 100));
  TWindowId popup = b.CreateWindow(TWindowParams{Bounds(10, 10, 30, 30), "", true, true});
  b.ShowWindow(popup, true);
  b.RaiseWindow(popup, false);
  b.UserActivate(popup);
  EXPECT_EQ(b.ActiveWindow(), form);
  EXPECT_TRUE(Drain(b).empty());
  // Its mouse events still arrive; the keys go to the active form.
  b.Click(TPoint{15, 15});
  b.Key(VK_DOWN);
  auto events = Drain(b);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].Window, popup);
  EXPECT_EQ(events[2].Window, form);
}

TEST(THeadlessBackendTest, TimersFireInTimeOrderAsTheClockMoves) {
  THeadlessBackend b;
  uint32_t fast = b.StartTimer(30);
  uint32_t slow = b.StartTimer(50);
  b.AdvanceTime(100);
  std::vector<uint32_t> order;
  for (auto& e : Drain(b))
    order.push_back(e.TimerId);
  EXPECT_EQ(order, (std::vector<uint32_t>{fast, slow, fast, fast, slow}));
  EXPECT_EQ(b.TickCount(), 100u);
  b.StopTimer(fast);
  b.AdvanceTime(50);
  order.clear();
  for (auto& e : Drain(b))
    order.push_back(e.TimerId);
  EXPECT_EQ(order, std::vector<uint32_t>{slow});
}

TEST(THeadlessBackendTest, PresentedPixelsMakeTheSnapshots) {
  THeadlessBackend b;
  b.SetScreenSize(40, 30);
  TWindowId w = Shown(b, Bounds(10, 5, 4, 2));
  std::vector<uint32_t> pixels{1, 2, 3, 4, 99, 5, 6, 7, 8, 99};  // stride 5
  b.Present(w, TPixelView{pixels.data(), 4, 2, 5}, TRect{});
  EXPECT_EQ(b.WindowPixel(w, 3, 1), 8u) << "a first present takes everything";
  EXPECT_EQ(b.PresentCount(w), 1);
  pixels = {10, 20, 30, 40, 99, 50, 60, 70, 80, 99};
  b.Present(w, TPixelView{pixels.data(), 4, 2, 5}, Rect(1, 1, 3, 2));
  EXPECT_EQ(b.WindowPixel(w, 0, 0), 1u) << "outside the changed part nothing is copied";
  EXPECT_EQ(b.WindowPixel(w, 2, 1), 70u);
  EXPECT_EQ(b.WindowPixel(w, 3, 1), 8u);
  pixels = {1, 2, 3, 4, 99, 5, 6, 7, 8, 99};
  b.Present(w, TPixelView{pixels.data(), 4, 2, 5}, Rect(0, 0, 4, 2));
  auto window = b.SnapshotWindow(w);
  EXPECT_EQ(window->Width(), 4);
  EXPECT_EQ(window->ScanLine(1)[0], 5u);
  auto screen = b.SnapshotScreen();
  EXPECT_EQ(screen->ScanLine(6)[11], 6u);
  EXPECT_EQ(screen->ScanLine(0)[0], THeadlessBackend::DesktopColor);
  EXPECT_THROW(b.SnapshotWindow(12345), EInvalidOperation);
}

TEST(BackendFactoryTest, KnowsHeadlessAndRefusesUnknownNames) {
  EXPECT_NE(dynamic_cast<THeadlessBackend*>(CreateBackend("headless").get()), nullptr);
  EXPECT_THROW(CreateBackend("no-such-backend"), EInvalidOperation);
  RegisterBackend("small", [] { return std::make_unique<THeadlessBackend>(64, 48); });
  EXPECT_EQ(CreateBackend("small")->ScreenWidth(), 64);
}

}  // namespace
}  // namespace bw
