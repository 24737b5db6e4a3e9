#include "platform/backend/sdl/TSdlEventTranslator.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/backend/VirtualKeys.h"

namespace bw {
namespace {

// Made-up SDL events fed to the translator, over a table of windows with no display.
class SdlTranslatorTest : public ::testing::Test {
 protected:
  explicit SdlTranslatorTest(int32_t Scale = 1) : Windows(Scale) {}

  TSdlWindow& AddWindow(uint32_t SdlId, TRect Bounds, bool NoActivate = false) {
    TSdlWindow& w = Windows.Add(SdlId, nullptr, TWindowParams{Bounds, "", NoActivate, NoActivate});
    w.Visible = true;
    return w;
  }

  std::deque<TBackendEvent> Feed(const SDL_Event& Event, uint16_t ModState = 0) {
    std::deque<TBackendEvent> out;
    Translator.Translate(Event, ModState, out);
    return out;
  }

  static SDL_Event Button(uint32_t Type, uint32_t Window, int32_t X, int32_t Y, uint8_t Clicks = 1,
                          uint8_t Which = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    // type, timestamp, windowID, which, button, state, clicks, padding1, x, y
    e.button = {Type, 0, Window, 0, Which, 0, Clicks, 0, X, Y};
    return e;
  }
  static SDL_Event Motion(uint32_t Window, int32_t X, int32_t Y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = Window;
    e.motion.x = X;
    e.motion.y = Y;
    return e;
  }
  static SDL_Event KeyEvent(uint32_t Type, SDL_Keycode Key, uint16_t Mod = 0) {
    SDL_Event e{};
    e.type = Type;
    e.key.windowID = 1;
    e.key.keysym.sym = Key;
    e.key.keysym.mod = Mod;
    return e;
  }
  static SDL_Event TextEvent(uint32_t Type, const char* Text) {
    SDL_Event e{};
    e.type = Type;
    char* target = Type == SDL_TEXTINPUT ? e.text.text : e.edit.text;
    std::strncpy(target, Text, SDL_TEXTINPUTEVENT_TEXT_SIZE - 1);
    return e;
  }
  static SDL_Event WindowEvent(uint32_t Window, uint8_t What, int32_t Data1 = 0,
                               int32_t Data2 = 0) {
    SDL_Event e{};
    // type, timestamp, windowID, event, padding1 to 3, data1, data2
    e.window = {SDL_WINDOWEVENT, 0, Window, What, 0, 0, 0, Data1, Data2};
    return e;
  }

  TSdlWindowTable Windows;
  TSdlEventTranslator Translator{Windows};
};

TEST_F(SdlTranslatorTest, MouseGoesToItsWindowOrToTheCaptureInThatWindowsCoordinates) {
  TSdlWindow& form = AddWindow(10, Bounds(100, 100, 300, 200));
  TSdlWindow& popup = AddWindow(11, Bounds(150, 320, 80, 60), true);
  auto own = Feed(Motion(10, 5, 7), KMOD_LSHIFT);
  ASSERT_EQ(own.size(), 1u);
  EXPECT_EQ(own[0].Window, form.Id);
  EXPECT_EQ(own[0].X, 5);
  EXPECT_EQ(own[0].Y, 7);
  EXPECT_EQ(own[0].Modifiers, kModShift);

  Translator.SetCapture(form.Id);
  auto captured = Feed(Button(SDL_MOUSEBUTTONUP, 11, 10, 10));
  ASSERT_EQ(captured.size(), 1u);
  EXPECT_EQ(captured[0].Kind, TBackendEventKind::MouseUp);
  EXPECT_EQ(captured[0].Window, form.Id);
  EXPECT_EQ(captured[0].X, 60);   // 150 + 10 - 100
  EXPECT_EQ(captured[0].Y, 230);  // 320 + 10 - 100
  EXPECT_EQ(popup.Id, 2u);

  EXPECT_TRUE(Feed(Motion(99, 1, 1)).empty()) << "a window that is not ours";
}

TEST_F(SdlTranslatorTest, EverySecondPressOfASeriesIsADoubleClick) {
  AddWindow(10, Bounds(0, 0, 100, 100));
  std::vector<int> clicks;
  for (uint8_t n = 1; n <= 4; ++n)
    clicks.push_back(Feed(Button(SDL_MOUSEBUTTONDOWN, 10, 5, 5, n))[0].Clicks);
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 1, 2}));
  auto right = Feed(Button(SDL_MOUSEBUTTONDOWN, 10, 5, 5, 1, SDL_BUTTON_RIGHT));
  EXPECT_EQ(right[0].Button, kButtonRight);
  EXPECT_TRUE(Feed(Button(SDL_MOUSEBUTTONDOWN, 10, 5, 5, 1, SDL_BUTTON_X1)).empty());
}

TEST_F(SdlTranslatorTest, WheelNotchesBecomeMultiplesOf120AwayFromTheUser) {
  AddWindow(10, Bounds(0, 0, 100, 100));
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = 10;
  e.wheel.y = -1;
  e.wheel.preciseY = -1.0f;
  e.wheel.mouseX = 30;
  e.wheel.mouseY = 40;
  auto down = Feed(e);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].WheelDelta, -120);
  EXPECT_EQ(down[0].X, 30);
  e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  e.wheel.preciseY = 0.5f;
  EXPECT_EQ(Feed(e)[0].WheelDelta, -60);
  e.wheel.preciseY = 0.0f;
  e.wheel.y = 0;
  EXPECT_TRUE(Feed(e).empty()) << "a sideways scroll moves nothing";
}

TEST_F(SdlTranslatorTest, KeysAndTextGoToTheActiveWindow) {
  AddWindow(1, Bounds(0, 0, 100, 100));
  TSdlWindow& other = AddWindow(2, Bounds(200, 0, 100, 100));
  Translator.ProgramActivated(other.Id, 0);
  auto down = Feed(KeyEvent(SDL_KEYDOWN, SDLK_c, KMOD_LCTRL));
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].Kind, TBackendEventKind::KeyDown);
  EXPECT_EQ(down[0].Window, other.Id);
  EXPECT_EQ(down[0].Key, 'C');
  EXPECT_EQ(down[0].Modifiers, kModCtrl);
  EXPECT_EQ(Feed(KeyEvent(SDL_KEYUP, SDLK_c))[0].Kind, TBackendEventKind::KeyUp);
  EXPECT_TRUE(Feed(KeyEvent(SDL_KEYDOWN, SDLK_AUDIOPLAY)).empty());

  auto text = Feed(TextEvent(SDL_TEXTINPUT, "\xC3\xA9t\xC3\xA9"));
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text[0].Kind, TBackendEventKind::Text);
  EXPECT_EQ(text[0].Window, other.Id);
  EXPECT_EQ(text[0].Text, "\xC3\xA9t\xC3\xA9");
}

TEST_F(SdlTranslatorTest, WhileComposingTheInputMethodKeepsItsEditingKeys) {
  AddWindow(1, Bounds(0, 0, 100, 100));
  Feed(TextEvent(SDL_TEXTEDITING, "ni"));
  EXPECT_TRUE(Translator.Composing());
  EXPECT_TRUE(Feed(KeyEvent(SDL_KEYDOWN, SDLK_BACKSPACE)).empty());
  EXPECT_TRUE(Feed(KeyEvent(SDL_KEYDOWN, SDLK_RETURN)).empty());
  EXPECT_EQ(Feed(KeyEvent(SDL_KEYDOWN, SDLK_F2)).size(), 1u) << "not an editing key";
  auto done = Feed(TextEvent(SDL_TEXTINPUT, "\xE4\xBD\xA0"));
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].Text, "\xE4\xBD\xA0");
  EXPECT_FALSE(Translator.Composing());
  EXPECT_EQ(Feed(KeyEvent(SDL_KEYDOWN, SDLK_RETURN)).size(), 1u);

  Feed(TextEvent(SDL_TEXTEDITING, "x"));
  Feed(TextEvent(SDL_TEXTEDITING, ""));  // the composition was cancelled
  EXPECT_FALSE(Translator.Composing());
}

TEST_F(SdlTranslatorTest, OnlyMovesAndSizesTheProgramDidNotMakeAreReported) {
  TSdlWindow& w = AddWindow(1, Bounds(10, 20, 300, 200));
  EXPECT_TRUE(Feed(WindowEvent(1, SDL_WINDOWEVENT_MOVED, 10, 20)).empty());
  auto moved = Feed(WindowEvent(1, SDL_WINDOWEVENT_MOVED, 50, 60));
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].Kind, TBackendEventKind::Move);
  EXPECT_EQ(moved[0].X, 50);
  EXPECT_EQ(moved[0].Y, 60);
  EXPECT_TRUE(Feed(WindowEvent(1, SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200)).empty());
  auto sized = Feed(WindowEvent(1, SDL_WINDOWEVENT_SIZE_CHANGED, 320, 240));
  ASSERT_EQ(sized.size(), 1u);
  EXPECT_EQ(sized[0].Kind, TBackendEventKind::Resize);
  EXPECT_EQ(w.Bounds, Bounds(50, 60, 320, 240));
}

TEST_F(SdlTranslatorTest, CloseLeaveAndQuit) {
  TSdlWindow& w = AddWindow(1, Bounds(0, 0, 100, 100));
  EXPECT_EQ(Feed(WindowEvent(1, SDL_WINDOWEVENT_CLOSE))[0].Kind, TBackendEventKind::Close);
  EXPECT_EQ(Feed(WindowEvent(1, SDL_WINDOWEVENT_LEAVE))[0].Kind, TBackendEventKind::MouseLeave);
  Translator.SetCapture(w.Id);
  EXPECT_TRUE(Feed(WindowEvent(1, SDL_WINDOWEVENT_LEAVE)).empty()) << "the capture keeps the mouse";
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(Feed(quit)[0].Kind, TBackendEventKind::Quit);
}

TEST_F(SdlTranslatorTest, FocusSettlesOnTheEndStateOfABatch) {
  TSdlWindow& form = AddWindow(1, Bounds(0, 0, 100, 100));
  TSdlWindow& popup = AddWindow(2, Bounds(0, 100, 50, 50), true);
  TSdlWindow& other = AddWindow(3, Bounds(300, 0, 100, 100));
  std::deque<TBackendEvent> out;
  Translator.ProgramActivated(form.Id, 0);

  Feed(WindowEvent(1, SDL_WINDOWEVENT_FOCUS_LOST));
  EXPECT_TRUE(Translator.FocusMoved());
  EXPECT_EQ(Translator.SettleFocus(popup.Id, 1000, out), form.Id)
      << "a pop-up that takes no activation hands the keyboard back";
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(Translator.FocusMoved());

  EXPECT_EQ(Translator.SettleFocus(form.Id, 1000, out), 0u);
  EXPECT_TRUE(out.empty()) << "back where the program put it: nothing to say";

  EXPECT_EQ(Translator.SettleFocus(other.Id, 1000, out), 0u);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].Kind, TBackendEventKind::Activate);
  EXPECT_EQ(out[0].Window, other.Id);
  EXPECT_EQ(Translator.Active(), other.Id);

  out.clear();
  Translator.SettleFocus(0, 1000, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].Kind, TBackendEventKind::Deactivate);
  EXPECT_EQ(out[0].Window, other.Id);
}

TEST_F(SdlTranslatorTest, AFocusReportOlderThanTheProgramsOwnActivationIsIgnored) {
  TSdlWindow& form = AddWindow(1, Bounds(0, 0, 100, 100));
  TSdlWindow& other = AddWindow(2, Bounds(300, 0, 100, 100));
  std::deque<TBackendEvent> out;
  Translator.ProgramActivated(other.Id, 1000);
  Translator.SettleFocus(form.Id, 1000 + TSdlEventTranslator::FocusRequestGrace - 1, out);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(Translator.Active(), other.Id);
  Translator.SettleFocus(form.Id, 1000 + TSdlEventTranslator::FocusRequestGrace, out);
  ASSERT_EQ(out.size(), 1u) << "after the grace the window system has the last word";
  EXPECT_EQ(out[0].Window, form.Id);
}

class SdlScaledTranslatorTest : public SdlTranslatorTest {
 protected:
  SdlScaledTranslatorTest() : SdlTranslatorTest(2) {}
};

TEST_F(SdlScaledTranslatorTest, DevicePixelsBecomeLogicalOnes) {
  TSdlWindow& w = AddWindow(1, Bounds(10, 10, 100, 100));
  auto moved = Feed(Motion(1, 41, 19));
  EXPECT_EQ(moved[0].X, 20);
  EXPECT_EQ(moved[0].Y, 9);
  auto left = Feed(Motion(1, -1, 0));
  EXPECT_EQ(left[0].X, -1) << "left of the window stays left of it";
  Feed(WindowEvent(1, SDL_WINDOWEVENT_MOVED, 100, 60));
  EXPECT_EQ(w.Bounds, Bounds(50, 30, 100, 100));
}

}  // namespace
}  // namespace bw
