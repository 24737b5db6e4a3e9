#include "platform/backend/sdl/SdlKeys.h"

#include <gtest/gtest.h>

#include "platform/backend/VirtualKeys.h"

namespace bw {
namespace {

struct TKeyCase {
  const char* Name;
  SDL_Keycode Key;
  uint16_t ModState;
  uint16_t Expected;
};

class SdlKeyMapTest : public ::testing::TestWithParam<TKeyCase> {};

TEST_P(SdlKeyMapTest, MapsToTheVirtualKey) {
  const TKeyCase& c = GetParam();
  EXPECT_EQ(VirtualKeyFromSdl(c.Key, c.ModState), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SdlKeyMapTest,
    ::testing::Values(
        TKeyCase{"LowerLetterIsUpperCaseCode", SDLK_a, 0, 'A'},
        TKeyCase{"LastLetter", SDLK_z, KMOD_SHIFT, 'Z'}, TKeyCase{"Digit", SDLK_7, 0, '7'},
        TKeyCase{"F1", SDLK_F1, 0, VK_F1}, TKeyCase{"F12", SDLK_F12, 0, VK_F12},
        TKeyCase{"F24", SDLK_F24, 0, VK_F24}, TKeyCase{"Return", SDLK_RETURN, 0, VK_RETURN},
        TKeyCase{"KeypadEnterIsReturn", SDLK_KP_ENTER, 0, VK_RETURN},
        TKeyCase{"Backspace", SDLK_BACKSPACE, 0, VK_BACK},
        TKeyCase{"Escape", SDLK_ESCAPE, 0, VK_ESCAPE}, TKeyCase{"Tab", SDLK_TAB, 0, VK_TAB},
        TKeyCase{"PageDown", SDLK_PAGEDOWN, 0, VK_NEXT}, TKeyCase{"Down", SDLK_DOWN, 0, VK_DOWN},
        TKeyCase{"EitherShift", SDLK_RSHIFT, 0, VK_SHIFT},
        TKeyCase{"EitherCtrl", SDLK_LCTRL, 0, VK_CONTROL},
        TKeyCase{"AltIsMenu", SDLK_RALT, 0, VK_MENU},
        TKeyCase{"KeypadDigitWithNumLock", SDLK_KP_4, KMOD_NUM, VK_NUMPAD0 + 4},
        TKeyCase{"KeypadDigitWithoutNumLockIsArrow", SDLK_KP_4, 0, VK_LEFT},
        TKeyCase{"KeypadSevenWithoutNumLockIsHome", SDLK_KP_7, 0, VK_HOME},
        TKeyCase{"KeypadFiveWithoutNumLockIsNothing", SDLK_KP_5, 0, 0},
        TKeyCase{"KeypadZeroWithoutNumLockIsInsert", SDLK_KP_0, 0, VK_INSERT},
        TKeyCase{"KeypadPeriodWithNumLock", SDLK_KP_PERIOD, KMOD_NUM, VK_DECIMAL},
        TKeyCase{"KeypadPlus", SDLK_KP_PLUS, 0, VK_ADD},
        TKeyCase{"Comma", SDLK_COMMA, 0, VK_OEM_COMMA},
        TKeyCase{"Backslash", SDLK_BACKSLASH, 0, VK_OEM_5},
        TKeyCase{"KeyWithoutCodeIsZero", SDLK_AUDIOPLAY, 0, 0}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(SdlModifiersTest, EitherSideOfAModifierCountsAndLocksDoNot) {
  EXPECT_EQ(ModifiersFromSdl(KMOD_LSHIFT), kModShift);
  EXPECT_EQ(ModifiersFromSdl(KMOD_RCTRL | KMOD_LALT), kModCtrl | kModAlt);
  EXPECT_EQ(ModifiersFromSdl(KMOD_NUM | KMOD_CAPS), 0u);
}

}  // namespace
}  // namespace bw
