#pragma once
// Checks a window that was scrolled by moving its pixels against a full paint of the same
// state: what the back end was last shown must match, pixel for pixel, what it shows
// after the whole window is painted again.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/controls/TWinControl.h"
#include "platform/graphics/TBitmap.h"

namespace bw::testing {

/// Paints what is pending, takes what Window presents, paints all of it again and
/// compares. With BW_SNAPSHOT_DIR set both pictures are written there as
/// Name-shown.png and Name-full.png.
inline ::testing::AssertionResult ShowsLikeFullPaint(TWinControl* Window, const std::string& Name) {
  THeadlessBackend& headless = THeadlessInput::Backend();
  Application->ProcessMessages();
  const std::unique_ptr<TBitmap> shown = headless.SnapshotWindow(Window->Surface());
  Window->Invalidate();
  Application->ProcessMessages();
  const std::unique_ptr<TBitmap> full = headless.SnapshotWindow(Window->Surface());
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR")) {
    shown->SaveToPngFile(std::string(dir) + "/" + Name + "-shown.png");
    full->SaveToPngFile(std::string(dir) + "/" + Name + "-full.png");
  }
  if (shown->Width() != full->Width() || shown->Height() != full->Height())
    return ::testing::AssertionFailure() << Name << ": the window changed size";
  int64_t differ = 0;
  int32_t firstX = -1, firstY = -1;
  for (int32_t y = 0; y < full->Height(); ++y)
    for (int32_t x = 0; x < full->Width(); ++x)
      if (shown->ScanLine(y)[x] != full->ScanLine(y)[x] && differ++ == 0) {
        firstX = x;
        firstY = y;
      }
  if (differ == 0) return ::testing::AssertionSuccess();
  char first[96];
  std::snprintf(first, sizeof first, "the first at (%d, %d): %06x shown, %06x painted", firstX,
                firstY, shown->ScanLine(firstY)[firstX], full->ScanLine(firstY)[firstX]);
  return ::testing::AssertionFailure()
         << Name << ": " << differ << " pixels differ from a full paint, " << first;
}

}  // namespace bw::testing
