#include <gtest/gtest.h>
#include <png.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/core/TMemoryStream.h"
#include "platform/graphics/EInvalidGraphic.h"
#include "platform/graphics/ImageFormats.h"
#include "platform/graphics/TBitmap.h"
#include "tests/platform/core/TempFolder.h"
#include "tests/support/TFailingReadStream.h"

namespace bw {
namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i)
    v[at + size_t(i)] = uint8_t(x >> (8 * i));
}

// A bitmap with a few distinct colours in a recognisable layout.
void Paint(TBitmap& b, const std::vector<TColor>& colours) {
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x)
      b.Canvas()->SetPixels(x, y, colours[size_t(x * 3 + y * 5) % colours.size()]);
}

bool SamePixels(const TBitmap& a, const TBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         a.Handle()->Pixels == b.Handle()->Pixels;
}

struct DepthCase {
  const char* Name;
  TPixelFormat Format;
  int Bits;
  std::vector<TColor> Colours;
};

class BmpRoundTrip : public ::testing::TestWithParam<DepthCase> {};

TEST_P(BmpRoundTrip, SaveThenLoadGivesTheSamePixelsAndDepth) {
  const DepthCase& c = GetParam();
  // 13 pixels wide so that rows need padding at every depth.
  TBitmap original;
  original.SetSize(13, 7);
  original.SetPixelFormat(c.Format);
  Paint(original, c.Colours);
  std::vector<uint8_t> file = original.SaveToMemory();
  EXPECT_EQ(file[28], c.Bits);
  TBitmap loaded;
  loaded.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(loaded.PixelFormat(), c.Format);
  EXPECT_TRUE(SamePixels(original, loaded));
  // A second save is byte-identical: the palette read back is the one written.
  EXPECT_EQ(loaded.SaveToMemory(), file);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, BmpRoundTrip,
    ::testing::Values(
        DepthCase{"OneBit", pf1bit, 1, {clBlack, clWhite}},
        DepthCase{"FourBit", pf4bit, 4, {clBlue, clYellow, clNavy, clSilver, clGray}},
        DepthCase{
            "EightBit", pf8bit, 8, {RGB(1, 2, 3), RGB(200, 100, 50), clRed, clWhite, RGB(7, 7, 7)}},
        DepthCase{"TwentyFourBit", pf24bit, 24, {RGB(1, 2, 3), RGB(200, 100, 50), RGB(9, 8, 7)}},
        DepthCase{"ThirtyTwoBit", pf32bit, 32, {RGB(1, 2, 3), RGB(250, 128, 1)}}),
    [](const ::testing::TestParamInfo<DepthCase>& i) { return i.param.Name; });

TEST(BmpWrite, FourBitTakesTheNearestColourWhenThePaletteIsFull) {
  TBitmap b;
  b.SetSize(2, 1);
  b.SetPixelFormat(pf4bit);  // the standard 16 colours
  b.Canvas()->SetPixels(0, 0, RGB(250, 5, 5));
  std::vector<uint8_t> file = b.SaveToMemory();
  TBitmap loaded;
  loaded.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(loaded.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(loaded.Canvas()->Pixels(1, 0), clWhite);
}

TEST(BmpWrite, EmptyBitmapRoundTripsAsEmpty) {
  TBitmap b;
  std::vector<uint8_t> file = b.SaveToMemory();
  TBitmap loaded;
  loaded.SetSize(3, 3);
  loaded.LoadFromMemory(file.data(), file.size());
  EXPECT_TRUE(loaded.Empty());
}

// A hand-made file: 40-byte header, given bits, palette and rows.
std::vector<uint8_t> MakeBmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                             const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> v(54 + palette.size() * 4);
  v[0] = 'B';
  v[1] = 'M';
  Put32(v, 2, uint32_t(v.size() + pixels.size()));
  Put32(v, 10, uint32_t(v.size()));
  Put32(v, 14, 40);
  Put32(v, 18, uint32_t(w));
  Put32(v, 22, uint32_t(h));
  v[26] = 1;
  v[28] = uint8_t(bits);
  Put32(v, 30, compression);
  Put32(v, 46, uint32_t(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i)
    Put32(v, 54 + 4 * i, palette[i]);
  v.insert(v.end(), pixels.begin(), pixels.end());
  return v;
}

TEST(BmpRead, TopDownRowsAndSixteenBitColours) {
  // 2x2, 16 bits 5-5-5, top-down: red, green / blue, white.
  std::vector<uint8_t> px = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F};
  auto file = MakeBmp(2, -2, 16, 0, {}, px);
  TBitmap b;
  b.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clLime);
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);
}

TEST(BmpRead, AColourMaskWithGapsStaysInsideItsChannel) {
  // Red's mask has a hole (bits 0 and 2): its value must not spill into the other channels.
  auto file = MakeBmp(1, 1, 32, 3, {0x00000005, 0x0000FF00, 0x00FF0000}, {0x05, 0, 0, 0});
  TBitmap b;
  b.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(b.ScanLine(0)[0], 0xFF0000u);
}

TEST(BmpRead, RunLengthEncodedEightAndFourBit) {
  // 4x2 RLE8, bottom row first: a run of 4 index 1, end of line, literal 0 1 0 1, end.
  auto rle8 = MakeBmp(4, 2, 8, 1, {0x000000, 0xFFFFFF}, {4, 1, 0, 0, 0, 4, 0, 1, 0, 1, 0, 1});
  TBitmap b;
  b.LoadFromMemory(rle8.data(), rle8.size());
  EXPECT_EQ(b.Canvas()->Pixels(0, 1), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(3, 1), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clWhite);
  // 6x1 RLE4: a run of 3 alternating 1 and 0, a literal of 3 (0, 1, 1), the end.
  auto rle4 = MakeBmp(6, 1, 4, 2, {0x000000, 0xFFFFFF}, {3, 0x10, 0, 3, 0x01, 0x10, 0, 1});
  b.LoadFromMemory(rle4.data(), rle4.size());
  std::string row;
  for (int32_t x = 0; x < 6; ++x)
    row += b.Canvas()->Pixels(x, 0) == clWhite ? '1' : '0';
  EXPECT_EQ(row, "101011");
}

struct Malformed {
  const char* Name;
  std::function<void(std::vector<uint8_t>&)> Damage;
  const char* Words;  // part of the message
};

class BmpMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(BmpMalformed, RaisesAndLeavesTheBitmapAsItWas) {
  // A valid 3x2 8-bit image with two palette entries.
  auto file = MakeBmp(3, 2, 8, 0, {0x000000, 0xFFFFFF}, {0, 1, 0, 0, 1, 1, 0, 0});
  GetParam().Damage(file);
  TBitmap b;
  b.SetSize(2, 2);
  b.Canvas()->SetPixels(0, 0, clRed);
  try {
    b.LoadFromMemory(file.data(), file.size());
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find(GetParam().Words), std::string::npos) << e.what();
  }
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmpMalformed,
    ::testing::Values(
        Malformed{"Empty", [](auto& v) { v.clear(); }, "too short"},
        Malformed{"Signature", [](auto& v) { v[0] = 'X'; }, "signature"},
        Malformed{"TruncatedPixels", [](auto& v) { v.resize(v.size() - 3); }, "shorter"},
        Malformed{"TruncatedHeader", [](auto& v) { v.resize(40); }, "header"},
        Malformed{"HeaderSize", [](auto& v) { Put32(v, 14, 41); }, "header size"},
        Malformed{"Planes", [](auto& v) { v[26] = 2; }, "planes"},
        Malformed{"Bits", [](auto& v) { v[28] = 7; }, "bits per pixel"},
        Malformed{"Huge", [](auto& v) { Put32(v, 18, 0x7FFFFFFF); }, "too large"},
        Malformed{"HugeNegativeHeight", [](auto& v) { Put32(v, 22, 0x80000000u); }, "too large"},
        Malformed{"NegativeWidth", [](auto& v) { Put32(v, 18, uint32_t(-3)); }, "negative"},
        Malformed{"OverflowingSize",
                  [](auto& v) {
                    Put32(v, 18, 30000);
                    Put32(v, 22, 30000);
                  },
                  "too large"},
        Malformed{"PaletteIndex", [](auto& v) { v[v.size() - 8] = 2; }, "palette index 2"},
        Malformed{"PaletteTooBig", [](auto& v) { Put32(v, 46, 257); }, "colour table"},
        Malformed{"PalettePastEnd", [](auto& v) { Put32(v, 46, 200); }, "colour table"},
        Malformed{"OffsetPastEnd", [](auto& v) { Put32(v, 10, 5000); }, "past the end"},
        Malformed{"OffsetIntoHeader", [](auto& v) { Put32(v, 10, 20); }, "into the headers"},
        Malformed{"Compression", [](auto& v) { Put32(v, 30, 9); }, "compression"},
        Malformed{"RleWrongDepth", [](auto& v) { Put32(v, 30, 2); }, "4 bits"},
        Malformed{"RleNoEnd",
                  [](auto& v) {
                    Put32(v, 30, 1);
                    v.resize(v.size() - 8);
                    for (uint8_t x : {3, 0, 0, 0, 3, 1, 0, 0})
                      v.push_back(x);
                  },
                  "end-of-bitmap"},
        Malformed{"RleOverrun",
                  [](auto& v) {
                    Put32(v, 30, 1);
                    v.resize(v.size() - 8);
                    for (uint8_t x : {200, 1, 0, 1})
                      v.push_back(x);
                  },
                  "past the image"},
        Malformed{"RleTopDown",
                  [](auto& v) {
                    Put32(v, 30, 1);
                    Put32(v, 22, uint32_t(-2));
                  },
                  "top-down"}),
    [](const ::testing::TestParamInfo<Malformed>& i) { return i.param.Name; });

// ---- a small file that claims a large image ----

// How a load went, and how much memory it touched on the way (its peak resident size
// above what there was before). Run in a child process so that the peak is the load's own.
struct LoadCost {
  bool Refused = false;
  long PeakGrowthKB = 0;
};

LoadCost CostOfLoading(const std::vector<uint8_t>& file) {
  int report[2];
  if (::pipe(report) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    rusage before, after;
    ::getrusage(RUSAGE_SELF, &before);
    LoadCost cost;
    try {
      TBitmap b;
      b.LoadFromMemory(file.data(), file.size());
    } catch (const EInvalidGraphic&) {
      cost.Refused = true;
    } catch (...) {
    }
    ::getrusage(RUSAGE_SELF, &after);
    cost.PeakGrowthKB = after.ru_maxrss - before.ru_maxrss;
    ::_exit(::write(report[1], &cost, sizeof cost) == sizeof cost ? 0 : 1);
  }
  ::close(report[1]);
  LoadCost cost{false, -1};
  if (::read(report[0], &cost, sizeof cost) != sizeof cost) cost = {false, -1};
  ::close(report[0]);
  ::waitpid(child, nullptr, 0);
  return cost;
}

struct ClaimCase {
  const char* Name;
  uint16_t Bits;
  uint32_t Compression;
  std::vector<uint32_t> Table;  // the palette, or the colour masks
};

void PrintTo(const ClaimCase& c, std::ostream* out) {
  *out << c.Name;
}

class BmpLargeClaim : public ::testing::TestWithParam<ClaimCase> {};

// 118 bytes that claim 8192x8192 pixels (the largest image accepted) are refused before
// the image is allocated, whatever the pixel format and compression.
TEST_P(BmpLargeClaim, IsRefusedBeforeTheImageIsAllocated) {
  const ClaimCase& c = GetParam();
  std::vector<uint8_t> data(64 - 4 * c.Table.size(), 0x11);
  auto file = MakeBmp(8192, 8192, c.Bits, c.Compression, c.Table, data);
  ASSERT_EQ(file.size(), 118u);
  const LoadCost cost = CostOfLoading(file);
  EXPECT_TRUE(cost.Refused);
  EXPECT_GE(cost.PeakGrowthKB, 0);
  EXPECT_LT(cost.PeakGrowthKB, 16 * 1024);  // the image would take 256 MB
}

INSTANTIATE_TEST_SUITE_P(
    Formats, BmpLargeClaim,
    ::testing::Values(ClaimCase{"OneBit", 1, 0, {0x000000, 0xFFFFFF}},
                      ClaimCase{"FourBit", 4, 0, {0x000000, 0xFFFFFF}},
                      ClaimCase{"EightBit", 8, 0, {0x000000, 0xFFFFFF}},
                      ClaimCase{"SixteenBit", 16, 0, {}}, ClaimCase{"TwentyFourBit", 24, 0, {}},
                      ClaimCase{"ThirtyTwoBit", 32, 0, {}},
                      ClaimCase{"SixteenBitMasks", 16, 3, {0xF800, 0x07E0, 0x001F}},
                      ClaimCase{"ThirtyTwoBitMasks", 32, 3, {0xFF0000, 0x00FF00, 0x0000FF}},
                      ClaimCase{"RunLengthEightBit", 8, 1, {0x000000, 0xFFFFFF}},
                      ClaimCase{"RunLengthFourBit", 4, 2, {0x000000, 0xFFFFFF}}),
    [](const ::testing::TestParamInfo<ClaimCase>& i) { return i.param.Name; });

// Run-length data may leave pixels out (they take the first colour): a short stream can
// describe a whole image, and still reads.
TEST(BmpRead, RunLengthDataMayEndBeforeTheImageIsCovered) {
  auto file = MakeBmp(300, 200, 8, 1, {0xFF0000, 0xFFFFFF}, {2, 1, 0, 1});
  TBitmap b;
  b.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(b.Canvas()->Pixels(0, 199), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(1, 199), clWhite);
  EXPECT_EQ(b.Canvas()->Pixels(2, 199), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(299, 0), clRed);
}

TEST(BitmapObject, SizeKeepsPixelsAndNewOnesAreWhite) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  b.SetSize(2, 2);
  b.Canvas()->SetPixels(1, 1, clRed);
  b.SetSize(3, 3);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clWhite);
  b.SetWidth(-4);
  EXPECT_TRUE(b.Empty());
  EXPECT_THROW(b.SetSize(100000, 100000), EInvalidGraphic);
}

TEST(BitmapObject, DrawingOnTheCanvasRaisesOnChange) {
  TBitmap b;
  b.SetSize(2, 2);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes, 2);
}

TEST(BitmapObject, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  TBitmap b;
  b.SetSize(2, 2);
  b.Canvas()->SetPixels(0, 1, clBlue);
  EXPECT_EQ(b.TransparentColor(), clBlue);
  b.SetTransparentColor(clRed);
  EXPECT_EQ(b.TransparentMode(), tmFixed);
  EXPECT_EQ(b.TransparentColor(), clRed);
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.TransparentColor(), clBlue);
}

TEST(BitmapObject, MonochromeKeepsWhiteAndBlackensTheRest) {
  TBitmap b;
  b.SetSize(3, 1);
  b.Canvas()->SetPixels(0, 0, clYellow);
  b.SetMonochrome(true);
  EXPECT_TRUE(b.Monochrome());
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlack);
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clWhite);
}

TEST(BitmapObject, AssignCopiesAndHandlesMoveOwnership) {
  TBitmap a, b;
  a.SetSize(2, 1);
  a.Canvas()->SetPixels(0, 0, clRed);
  b.Assign(&a);
  a.Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);  // a copy, not a share
  HBITMAP h = b.ReleaseHandle();
  EXPECT_TRUE(b.Empty());
  a.SetHandle(h);
  EXPECT_EQ(a.Canvas()->Pixels(0, 0), clRed);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(BitmapObject, AHandleStillOwnedByAnotherBitmapIsNotFreedTwice) {
  auto a = std::make_unique<TBitmap>();
  a->SetSize(2, 1);
  a->Canvas()->SetPixels(1, 0, clRed);
  TBitmap b;
  b.SetHandle(a->Handle());  // a keeps its image; b takes a copy
  EXPECT_NE(b.Handle(), a->Handle());
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clRed);
  DeleteObject(a->Handle());  // a bitmap's own image is freed by the bitmap alone
  EXPECT_EQ(a->Canvas()->Pixels(1, 0), clRed);
  a.reset();
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clRed);
  // A released handle belongs to whoever took it: a bitmap takes it over as it is.
  HBITMAP h = b.ReleaseHandle();
  TBitmap c;
  c.SetHandle(h);
  EXPECT_EQ(c.Handle(), h);
}

TEST(BitmapObject, StreamsAndFiles) {
  TBitmap a;
  a.SetSize(4, 3);
  Paint(a, {clRed, clLime, clNavy});
  TMemoryStream s;
  a.SaveToStream(&s);
  s.SetPosition(0);
  TBitmap b;
  b.LoadFromStream(&s);
  EXPECT_TRUE(SamePixels(a, b));

  auto path = std::filesystem::temp_directory_path() / "bw_bitmap_test.bmp";
  a.SaveToFile(path.string());
  TBitmap c;
  c.LoadFromFile(path.string());
  EXPECT_TRUE(SamePixels(a, c));
  std::filesystem::remove(path);
}

// Loads that fail on the way to the pixels (no file, a folder, a file cut short, a
// stream that breaks off) keep the old picture and its depth and raise no OnChange.
TEST(BitmapObject, FailedLoadsKeepThePicture) {
  TBitmap a;
  a.SetSize(5, 4);
  Paint(a, {clRed, clLime, clNavy});
  const std::vector<uint8_t> file = a.SaveToMemory();
  const String bytes(file.begin(), file.end());
  bw::testing::TempFolder folder;
  bw::testing::WriteFile(folder.Path("cut.bmp"), bytes.substr(0, bytes.size() / 2));

  TBitmap b;
  b.SetSize(2, 3);
  b.SetPixelFormat(pf4bit);
  b.Canvas()->SetPixels(1, 2, clRed);
  const std::vector<uint32_t> pixels = b.Handle()->Pixels;
  int changes = 0;
  b.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  const std::vector<std::function<void()>> loads = {
      [&] { b.LoadFromFile(folder.Path("missing.bmp")); },
      [&] { b.LoadFromFile(folder.Root()); },
      [&] { b.LoadFromFile(folder.Path("cut.bmp")); },
      [&] {
        bw::testing::TFailingReadStream s(bytes, int64_t(bytes.size()) / 2);
        b.LoadFromStream(&s);
      },
  };
  for (size_t i = 0; i < loads.size(); ++i) {
    EXPECT_THROW(loads[i](), Exception) << i;
    EXPECT_EQ(b.Handle()->Pixels, pixels) << i;
    EXPECT_EQ(b.Width(), 2) << i;
    EXPECT_EQ(b.PixelFormat(), pf4bit) << i;
  }
  EXPECT_EQ(changes, 0);
  TStringStream whole(bytes);
  b.LoadFromStream(&whole);
  EXPECT_TRUE(SamePixels(a, b));
  EXPECT_EQ(changes, 1);
}

TEST(BitmapObject, FormDataIsALengthThenTheBmpFile) {
  TBitmap a;
  a.SetSize(16, 15);
  a.SetPixelFormat(pf4bit);
  TMemoryStream s;
  a.WriteData(&s);
  ASSERT_EQ(s.Size(), 4 + 238);
  const auto* bytes = static_cast<const uint8_t*>(s.Memory());
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 6),
            (std::vector<uint8_t>{0xEE, 0, 0, 0, 'B', 'M'}));
  s.SetPosition(0);
  TBitmap b;
  b.ReadData(&s);
  EXPECT_TRUE(SamePixels(a, b));

  // A length beyond the stream: an error, and the bitmap keeps its image.
  TMemoryStream bad;
  const uint8_t longer[] = {0xFF, 0, 0, 0, 'B', 'M'};
  bad.WriteBuffer(longer, sizeof longer);
  bad.SetPosition(0);
  EXPECT_THROW(b.ReadData(&bad), EInvalidGraphic);
  EXPECT_EQ(b.Width(), 16);
}

TEST(BitmapObject, PngExportDecodesToTheSamePixels) {
  TBitmap a;
  a.SetSize(5, 4);
  Paint(a, {clRed, RGB(1, 2, 3), clWhite});
  std::vector<uint8_t> png = a.SaveToPngMemory();
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&img, png.data(), png.size()));
  img.format = PNG_FORMAT_BGRA;
  std::vector<uint32_t> px(size_t(img.width) * img.height);
  ASSERT_TRUE(png_image_finish_read(&img, nullptr, px.data(), 0, nullptr));
  ASSERT_EQ(img.width, 5u);
  for (size_t i = 0; i < px.size(); ++i)
    EXPECT_EQ(px[i] & 0xFFFFFF, a.Handle()->Pixels[i]);
  TBitmap empty;
  EXPECT_THROW(empty.SaveToPngMemory(), EInvalidGraphic);
}

}  // namespace
}  // namespace bw
