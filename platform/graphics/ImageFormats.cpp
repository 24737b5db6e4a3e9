// BMP: the file header, then a core (12-byte) or info (40 to 124-byte) header, a colour
// table for 1, 4 and 8 bits, and rows of pixels bottom-up (top-down for a negative
// height), each padded to 4 bytes; 4 and 8-bit images may be run-length encoded, 16 and
// 32-bit ones may give their colour masks. Every size and offset is checked against the
// data before anything is allocated or read.

#include "platform/graphics/ImageFormats.h"

#include <png.h>
#include <algorithm>

#include <cstring>
#include <unordered_map>

#include "platform/core/Format.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TFileStream.h"
#include "platform/graphics/EInvalidGraphic.h"

namespace bw {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
// The largest image accepted: 32768 pixels a side and 64 M pixels in all.
constexpr int64_t kMaxSide = 32768, kMaxPixels = int64_t{1} << 26;

[[noreturn]] void Bad(const String& why) {
  throw EInvalidGraphic("Invalid bitmap: " + why);
}

uint16_t U16(const uint8_t* p) {
  return uint16_t(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

// Extracts a channel under a colour mask and scales it to 8 bits.
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  explicit Channel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1))
      ++Shift;
    while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1))
      ++Bits;
  }
  uint32_t Get(uint32_t v) const {
    if (!Mask) return 0;
    uint32_t c = (v & Mask) >> Shift;
    // A mask with gaps has set bits beyond its first run: cap them at full intensity.
    if (Bits >= 8) return std::min<uint32_t>(c >> (Bits - 8), 255);
    uint32_t max = (1u << Bits) - 1;
    return std::min<uint32_t>((uint64_t{c} * 255 + max / 2) / max, 255);
  }
};

// Walks run-length data and hands each pixel it sets to Put(at, index), where `at` counts
// row by row from the top-left pixel; pixels it skips are left alone. Raises on data that
// is cut short or runs past the image, before or after anything was handed out.
template <typename TPut>
void WalkRle(const uint8_t* p, size_t n, int bits, int32_t width, int32_t height, TPut Put) {
  int32_t x = 0, y = height - 1;  // rows are stored bottom-up
  size_t i = 0;
  auto put = [&](uint8_t v) {
    if (x >= width || y < 0) Bad("run-length data runs past the image");
    Put(size_t(y) * size_t(width) + size_t(x), v);
    ++x;
  };
  for (;;) {
    if (i + 2 > n) Bad("run-length data ends without an end-of-bitmap mark");
    uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k)
        put(bits == 8 ? value : (k % 2 == 0 ? value >> 4 : value & 0x0F));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      --y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (i + 2 > n) Bad("run-length data ends inside a delta");
      x += p[i];
      y -= p[i + 1];
      i += 2;
      if (x > width || y < -1) Bad("run-length delta moves past the image");
    } else {  // a literal run of `value` pixels, padded to a 16-bit boundary
      size_t bytes = bits == 8 ? value : (size_t(value) + 1) / 2;
      if (i + bytes > n) Bad("run-length data ends inside a literal run");
      for (int k = 0; k < value; ++k)
        put(bits == 8 ? p[i + size_t(k)]
                      : (k % 2 == 0 ? p[i + size_t(k) / 2] >> 4 : p[i + size_t(k) / 2] & 0x0F));
      i += bytes + (bytes & 1);
    }
  }
}

}  // namespace

const std::vector<uint32_t>& StandardPalette16() {
  static const std::vector<uint32_t> palette = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
      0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  return palette;
}

std::unique_ptr<TBitmapImage> ReadBmp(const uint8_t* data, size_t size) {
  if (!data || size < 14 + 12) Bad("the data is too short for a BMP file");
  if (data[0] != 'B' || data[1] != 'M') Bad("the data does not start with the BMP signature");
  const uint32_t offBits = U32(data + 10);
  const uint8_t* h = data + 14;
  const uint32_t headerSize = U32(h);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 &&
      headerSize != 108 && headerSize != 124)
    Bad(Format("unknown header size %s", {std::to_string(headerSize)}));
  if (size_t(14) + headerSize > size) Bad("the header runs past the end of the data");

  int64_t width, height;
  uint16_t planes, bits;
  uint32_t compression = kBiRgb, clrUsed = 0;
  if (core) {
    width = U16(h + 4);
    height = U16(h + 6);
    planes = U16(h + 8);
    bits = U16(h + 10);
  } else {
    width = int32_t(U32(h + 4));
    height = int32_t(U32(h + 8));
    planes = U16(h + 12);
    bits = U16(h + 14);
    compression = U32(h + 16);
    clrUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1) Bad(Format("%s colour planes (must be 1)", {std::to_string(planes)}));
  if (width < 0) Bad("the width is negative");
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    Bad(Format("the image is too large (%sx%s)", {std::to_string(width), std::to_string(height)}));
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Bad(Format("%s bits per pixel is not supported", {std::to_string(bits)}));

  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  if (compression == kBiRle8 && bits != 8)
    Bad("8-bit run-length compression needs 8 bits per pixel");
  if (compression == kBiRle4 && bits != 4)
    Bad("4-bit run-length compression needs 4 bits per pixel");
  if (compression == kBiBitfields && bits != 16 && bits != 32)
    Bad("colour masks need 16 or 32 bits per pixel");
  if (compression > kBiBitfields)
    Bad(Format("compression %s is not supported", {std::to_string(compression)}));
  if (rle && topDown) Bad("a run-length compressed image cannot be stored top-down");

  // Colour masks: inside a long header, or right after a 40-byte one.
  size_t pos = 14 + headerSize;
  uint32_t rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F;
  if (bits == 32) rMask = 0xFF0000, gMask = 0x00FF00, bMask = 0x0000FF;
  if (compression == kBiBitfields) {
    const uint8_t* m = h + 40;
    if (headerSize == 40) {
      if (pos + 12 > size) Bad("the colour masks run past the end of the data");
      m = data + pos;
      pos += 12;
    }
    rMask = U32(m);
    gMask = U32(m + 4);
    bMask = U32(m + 8);
    if (!rMask && !gMask && !bMask) Bad("the colour masks are all zero");
  }

  auto img = std::make_unique<TBitmapImage>();
  if (width == 0 || height == 0) return img;  // what saving an empty bitmap writes
  img->Width = int32_t(width);
  img->Height = int32_t(height);
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    uint32_t count = clrUsed ? clrUsed : maxColors;
    if (count > maxColors)
      Bad(Format("the colour table has %s entries, more than %s bits allow",
                 {std::to_string(count), std::to_string(bits)}));
    const size_t entry = core ? 3 : 4;
    if (pos + size_t(count) * entry > size) Bad("the colour table runs past the end of the data");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = data + pos + i * entry;
      img->Palette.push_back((uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0]);
    }
    pos += size_t(count) * entry;
  }
  if (offBits < pos) Bad("the pixel data offset points into the headers");
  if (offBits >= size) Bad("the pixel data offset lies past the end of the data");

  img->PixelFormat = bits == 1    ? pf1bit
                     : bits == 4  ? pf4bit
                     : bits == 8  ? pf8bit
                     : bits == 16 ? (gMask == 0x07E0 ? pf16bit : pf15bit)
                     : bits == 24 ? pf24bit
                                  : pf32bit;
  const uint8_t* px = data + offBits;
  const size_t avail = size - offBits;
  auto fromPalette = [&](uint32_t index) {
    if (index >= img->Palette.size())
      Bad(Format("palette index %s is out of range (the table has %s colours)",
                 {std::to_string(index), std::to_string(img->Palette.size())}));
    return img->Palette[index];
  };
  // The image is allocated only once the data is known to be all there and sound: a few
  // bytes that claim a large image take no memory before they are refused.
  const size_t total = size_t(width) * size_t(height);
  if (rle) {
    // Run-length data may leave pixels out, which take the first colour; so a short
    // stream can describe a whole image, and is checked through before it is decoded.
    WalkRle(px, avail, bits, img->Width, img->Height, [&](size_t, uint8_t v) { fromPalette(v); });
    img->Pixels.assign(total, img->Palette[0]);
    WalkRle(px, avail, bits, img->Width, img->Height,
            [&](size_t at, uint8_t v) { img->Pixels[at] = img->Palette[v]; });
    return img;
  }

  const uint64_t rowBytes = ((uint64_t(width) * bits + 31) / 32) * 4;
  if (rowBytes * uint64_t(height) > avail) Bad("the pixel data is shorter than the image needs");
  img->Pixels.assign(total, 0);
  const Channel r(rMask), g(gMask), b(bMask);
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* s = px + rowBytes * uint64_t(row);
    const int64_t y = topDown ? row : height - 1 - row;
    uint32_t* d = &img->Pixels[size_t(y) * size_t(width)];
    for (int64_t x = 0; x < width; ++x) {
      uint32_t v;
      switch (bits) {
        case 1:
          v = fromPalette((s[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          v = fromPalette((x & 1) ? s[x >> 1] & 0x0F : s[x >> 1] >> 4);
          break;
        case 8:
          v = fromPalette(s[x]);
          break;
        case 16: {
          uint32_t w = U16(s + 2 * x);
          v = (r.Get(w) << 16) | (g.Get(w) << 8) | b.Get(w);
          break;
        }
        case 24:
          v = (uint32_t(s[3 * x + 2]) << 16) | (uint32_t(s[3 * x + 1]) << 8) | s[3 * x];
          break;
        default: {
          uint32_t w = U32(s + 4 * x);
          v = compression == kBiBitfields ? (r.Get(w) << 16) | (g.Get(w) << 8) | b.Get(w)
                                          : w & 0xFFFFFF;
          break;
        }
      }
      d[x] = v;
    }
  }
  return img;
}

namespace {

int ColorDistance(uint32_t a, uint32_t b) {
  int dr = int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF);
  int dg = int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF);
  int db = int(a & 0xFF) - int(b & 0xFF);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

std::vector<uint8_t> WriteBmp(const TBitmapImage& image) {
  int bits = 24;
  switch (image.PixelFormat) {
    case pf1bit:
      bits = 1;
      break;
    case pf4bit:
      bits = 4;
      break;
    case pf8bit:
      bits = 8;
      break;
    case pf32bit:
      bits = 32;
      break;
    default:
      bits = 24;
      break;
  }
  std::vector<uint32_t> palette;
  std::vector<uint8_t> indexes;
  if (bits <= 8) {
    const size_t maxColors = size_t(1) << bits;
    palette = image.Palette;
    if (palette.size() > maxColors) palette.resize(maxColors);
    if (palette.empty()) {
      if (bits == 1) palette = {0x000000, 0xFFFFFF};
      if (bits == 4) palette = StandardPalette16();
    }
    // Each colour takes its palette entry; colours missing from the table are added while
    // there is room, and after that take the nearest entry.
    std::unordered_map<uint32_t, uint8_t> lookup;
    for (size_t i = palette.size(); i-- > 0;)
      lookup[palette[i]] = uint8_t(i);
    indexes.resize(image.Pixels.size());
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
      uint32_t c = image.Pixels[i] & 0xFFFFFF;
      auto it = lookup.find(c);
      if (it == lookup.end()) {
        uint8_t idx;
        if (palette.size() < maxColors) {
          idx = uint8_t(palette.size());
          palette.push_back(c);
        } else {
          int best = 0;
          for (size_t k = 1; k < palette.size(); ++k)
            if (ColorDistance(palette[k], c) < ColorDistance(palette[size_t(best)], c))
              best = int(k);
          idx = uint8_t(best);
        }
        it = lookup.emplace(c, idx).first;
      }
      indexes[i] = it->second;
    }
    if (palette.empty()) palette.push_back(0);
  }
  const int32_t w = image.Width, h = image.Height;
  const uint32_t rowBytes = uint32_t(((uint64_t(w) * uint32_t(bits) + 31) / 32) * 4);
  const uint32_t headers = 14 + 40 + uint32_t(palette.size()) * 4;
  const uint32_t imageBytes = rowBytes * uint32_t(h);
  std::vector<uint8_t> out;
  out.reserve(headers + imageBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, headers + imageBytes);
  Put32(out, 0);
  Put32(out, headers);
  Put32(out, 40);
  Put32(out, uint32_t(w));
  Put32(out, uint32_t(h));
  Put16(out, 1);
  Put16(out, uint16_t(bits));
  Put32(out, kBiRgb);
  Put32(out, imageBytes);
  Put32(out, 3780);  // 96 pixels per inch
  Put32(out, 3780);
  Put32(out, uint32_t(palette.size()));
  Put32(out, 0);
  for (uint32_t c : palette)
    Put32(out, c & 0xFFFFFF);
  std::vector<uint8_t> row(rowBytes);
  for (int32_t y = h - 1; y >= 0; --y) {
    std::fill(row.begin(), row.end(), 0);
    const size_t base = size_t(y) * size_t(w);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t c = image.Pixels[base + size_t(x)];
      switch (bits) {
        case 1:
          row[size_t(x) >> 3] |= uint8_t((indexes[base + size_t(x)] & 1) << (7 - (x & 7)));
          break;
        case 4:
          row[size_t(x) >> 1] |=
              uint8_t((x & 1) ? indexes[base + size_t(x)] : indexes[base + size_t(x)] << 4);
          break;
        case 8:
          row[size_t(x)] = indexes[base + size_t(x)];
          break;
        case 24:
          row[3 * size_t(x)] = uint8_t(c);
          row[3 * size_t(x) + 1] = uint8_t(c >> 8);
          row[3 * size_t(x) + 2] = uint8_t(c >> 16);
          break;
        default:
          row[4 * size_t(x)] = uint8_t(c);
          row[4 * size_t(x) + 1] = uint8_t(c >> 8);
          row[4 * size_t(x) + 2] = uint8_t(c >> 16);
          break;
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> WritePng(const TBitmapImage& image) {
  if (image.Width <= 0 || image.Height <= 0)
    throw EInvalidGraphic("Cannot write an empty bitmap as PNG");
  std::vector<uint8_t> rgb(size_t(image.Width) * size_t(image.Height) * 3);
  for (size_t i = 0; i < image.Pixels.size(); ++i) {
    rgb[3 * i] = uint8_t(image.Pixels[i] >> 16);
    rgb[3 * i + 1] = uint8_t(image.Pixels[i] >> 8);
    rgb[3 * i + 2] = uint8_t(image.Pixels[i]);
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.Width);
  png.height = png_uint_32(image.Height);
  png.format = PNG_FORMAT_RGB;
  png_alloc_size_t bytes = 0;
  if (!png_image_write_to_memory(&png, nullptr, &bytes, 0, rgb.data(), 0, nullptr))
    throw EInvalidGraphic(String("Cannot write PNG: ") + png.message);
  std::vector<uint8_t> out(bytes);
  if (!png_image_write_to_memory(&png, out.data(), &bytes, 0, rgb.data(), 0, nullptr))
    throw EInvalidGraphic(String("Cannot write PNG: ") + png.message);
  out.resize(bytes);
  return out;
}

std::vector<uint8_t> ReadWholeFile(const String& fileName) {
  TFileStream in(fileName, fmOpenRead | fmShareDenyWrite);
  const int64_t size = in.Size();
  if (size > int64_t{1} << 30)
    throw EInvalidGraphic("\"" + fileName + "\" is too large for an image");
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (!data.empty()) in.ReadBuffer(data.data(), int32_t(data.size()));
  return data;
}

void WriteWholeFile(const String& fileName, const std::vector<uint8_t>& data) {
  SaveFileAtomically(fileName, [&](TStream& out) {
    if (!data.empty()) out.WriteBuffer(data.data(), int32_t(data.size()));
  });
}

}  // namespace bw
