#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/core/Exception.h"

namespace bw {
namespace {

// A back end that stands for a real-window one: it is tried when its display probe says so.
class TFakeWindows : public THeadlessBackend {};

bool gDisplay = false;
bool gFailToStart = false;

class BackendChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterBackend(
        "fakewindows",
        []() -> std::unique_ptr<TBackend> {
          if (gFailToStart) throw EInvalidOperation("fakewindows cannot open its display");
          return std::make_unique<TFakeWindows>();
        },
        [] { return gDisplay; });
    gDisplay = false;
    gFailToStart = false;
    unsetenv("BW_BACKEND");
    unsetenv("BW_HEADLESS");
  }
  static bool IsFake(const std::unique_ptr<TBackend>& B) {
    return dynamic_cast<TFakeWindows*>(B.get()) != nullptr;
  }
};

TEST_F(BackendChoiceTest, AWindowBackEndIsChosenOnlyWhenItsDisplayIsThere) {
  EXPECT_FALSE(IsFake(CreateDefaultBackend()));
  gDisplay = true;
  EXPECT_TRUE(IsFake(CreateDefaultBackend()));
  setenv("BW_HEADLESS", "1", 1);
  EXPECT_FALSE(IsFake(CreateDefaultBackend())) << "the test suite's switch";
  setenv("BW_BACKEND", "fakewindows", 1);
  EXPECT_TRUE(IsFake(CreateDefaultBackend())) << "a name beats the switch";
  setenv("BW_BACKEND", "headless", 1);
  EXPECT_FALSE(IsFake(CreateDefaultBackend()));
}

TEST_F(BackendChoiceTest, ADisplayThatWillNotOpenFallsBackToHeadlessButANamedOneRaises) {
  gDisplay = true;
  gFailToStart = true;
  testing::internal::CaptureStderr();
  auto chosen = CreateDefaultBackend();
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(dynamic_cast<THeadlessBackend*>(chosen.get()), nullptr);
  EXPECT_FALSE(IsFake(chosen));
  EXPECT_NE(said.find("cannot open its display"), std::string::npos) << said;
  setenv("BW_BACKEND", "fakewindows", 1);
  EXPECT_THROW(CreateDefaultBackend(), EInvalidOperation);
}

TEST_F(BackendChoiceTest, AnUnknownNameSaysWhichBackEndsTheProgramHas) {
  setenv("BW_BACKEND", "sdl3", 1);
  try {
    CreateDefaultBackend();
    ADD_FAILURE() << "no error for an unknown back end";
  } catch (const EInvalidOperation& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("Unknown back end \"sdl3\""), std::string::npos) << message;
    EXPECT_NE(message.find("fakewindows, headless"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace bw
