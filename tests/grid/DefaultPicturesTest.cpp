#include <gtest/gtest.h>

#include "grid/ModuleResources.h"
#include "platform/graphics/ImageFormats.h"
#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

// The pictures as palette indexes of the standard 16 colours, top row first.
struct Picture {
  const char* Name;
  std::vector<std::string> Rows;
};

const Picture kPictures[] = {
    {"KEMBITMAP_OPEN",
     {"cccccccccccccccc", "ccc88888cccccccc", "cc8fffff8ccccccc", "c8f7b7b7f888888c",
      "c8fb7b7b7fffff80", "c8f7b7b7b7b7b780", "8888888888888b80", "8ffffffffff80780",
      "8f7b7b7b7b7b0880", "c8f7b7b7b7b78080", "c8fb7b7b7b7b7080", "cc8fb7b7b7b7b800",
      "cc88888888888800", "ccc0000000000000", "cccccccccccccccc"}},
    {"KEMBITMAP_CLOSED",
     {"cccccccccccccccc", "ccc88888cccccccc", "cc87b7b78ccccccc", "c87b7b7b7888888c",
      "c8ffffffffffff80", "c8fb7b7b7b7b7b80", "c8f7b7b7b7b7b780", "c8fb7b7b7b7b7b80",
      "c8f7b7b7b7b7b780", "c8fb7b7b7b7b7b80", "c8f7b7b7b7b7b780", "c8fb7b7b7b7b7b80",
      "c888888888888880", "cc00000000000000", "cccccccccccccccc"}},
    {"KEMBITMAP_LEAF",
     {"cccccccccccccccc", "000000000ccccccc", "0fffffff00cccccc", "0fffffff070ccccc",
      "0ffccccf0000cccc", "0ffffffffff0cccc", "0ff444444ff0cccc", "0ffffffffff0cccc",
      "0ff444444ff0cccc", "0ffffffffff0cccc", "0ff444444ff0cccc", "0ffffffffff0cccc",
      "0ffffffffff0cccc", "000000000000cccc", "cccccccccccccccc"}},
};

TEST(DefaultPictures, MatchTheirDesignPixelForPixel) {
  const auto& palette = StandardPalette16();
  for (const Picture& p : kPictures) {
    SCOPED_TRACE(p.Name);
    TBitmap b;
    b.SetHandle(LoadBitmap(HInstance(), p.Name));
    ASSERT_FALSE(b.Empty());
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Height(), 15);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_EQ(b.Handle()->Palette, palette);
    for (int32_t y = 0; y < 15; ++y)
      for (int32_t x = 0; x < 16; ++x) {
        uint32_t want =
            palette[size_t(std::stoi(std::string(1, p.Rows[size_t(y)][size_t(x)]), nullptr, 16))];
        ASSERT_EQ(b.ScanLine(y)[x], want) << "pixel " << x << "," << y;
      }
    EXPECT_EQ(b.TransparentColor(), clBlue);
  }
  EXPECT_EQ(LoadBitmap(HInstance(), "KEMBITMAP_NONE"), nullptr);
}

}  // namespace
}  // namespace bw
