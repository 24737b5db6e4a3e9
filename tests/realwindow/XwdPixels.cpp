// Reads a window dump that xwd wrote (the X server's own pixels, so a test sees what the
// display shows) and answers two questions for a test script:
//   xwd_pixels FILE                          prints "WIDTH HEIGHT"
//   xwd_pixels FILE X0 Y0 X1 Y1 RRGGBB       prints how many pixels in [X0,X1) x [Y0,Y1)
//                                            have that colour
// Only the dumps of true-colour screens are read (24 or 32 bits a pixel, as Xvfb's are).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TDump {
  uint32_t Width = 0, Height = 0, BytesPerLine = 0, BitsPerPixel = 0, MsbFirst = 0;
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  std::vector<uint8_t> Pixels;

  uint32_t Rgb(uint32_t X, uint32_t Y) const {
    const size_t at = size_t(Y) * BytesPerLine + size_t(X) * (BitsPerPixel / 8);
    uint32_t v = 0;
    for (uint32_t i = 0; i < BitsPerPixel / 8; ++i) {
      const uint32_t byte = Pixels.at(at + i);
      v |= MsbFirst ? byte << (8 * (BitsPerPixel / 8 - 1 - i)) : byte << (8 * i);
    }
    return Channel(v, RedMask) << 16 | Channel(v, GreenMask) << 8 | Channel(v, BlueMask);
  }
  static uint32_t Channel(uint32_t V, uint32_t Mask) {
    if (!Mask) return 0;
    int shift = 0;
    while (!((Mask >> shift) & 1))
      ++shift;
    return ((V & Mask) >> shift) * 255 / (Mask >> shift);
  }
};

uint32_t BigEndian(const std::vector<uint8_t>& Data, size_t Field) {
  const size_t at = Field * 4;
  if (at + 4 > Data.size()) throw std::runtime_error("the file is too short for a window dump");
  return uint32_t(Data[at]) << 24 | uint32_t(Data[at + 1]) << 16 | uint32_t(Data[at + 2]) << 8 |
         Data[at + 3];
}

TDump Read(const std::string& File) {
  std::ifstream in(File, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + File);
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
  TDump dump;
  const uint32_t headerSize = BigEndian(data, 0);
  if (BigEndian(data, 1) != 7 || BigEndian(data, 2) != 2)
    throw std::runtime_error(File + " is not a version 7 window dump of full pixels");
  dump.Width = BigEndian(data, 4);
  dump.Height = BigEndian(data, 5);
  dump.MsbFirst = BigEndian(data, 7);
  dump.BitsPerPixel = BigEndian(data, 11);
  dump.BytesPerLine = BigEndian(data, 12);
  dump.RedMask = BigEndian(data, 14);
  dump.GreenMask = BigEndian(data, 15);
  dump.BlueMask = BigEndian(data, 16);
  const uint32_t colours = BigEndian(data, 19);
  if (dump.BitsPerPixel != 24 && dump.BitsPerPixel != 32)
    throw std::runtime_error(File + " has " + std::to_string(dump.BitsPerPixel) +
                             " bits a pixel; only true colour is read");
  const size_t start = size_t(headerSize) + size_t(colours) * 12;
  const size_t size = size_t(dump.BytesPerLine) * dump.Height;
  if (start + size > data.size()) throw std::runtime_error(File + " is cut short");
  dump.Pixels.assign(data.begin() + std::ptrdiff_t(start),
                     data.begin() + std::ptrdiff_t(start + size));
  return dump;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc != 2 && argc != 7) {
      std::cerr << "usage: xwd_pixels FILE [X0 Y0 X1 Y1 RRGGBB]\n";
      return 2;
    }
    const TDump dump = Read(argv[1]);
    if (argc == 2) {
      std::cout << dump.Width << " " << dump.Height << "\n";
      return 0;
    }
    const uint32_t x0 = std::stoul(argv[2]), y0 = std::stoul(argv[3]);
    const uint32_t x1 = std::min<uint32_t>(std::stoul(argv[4]), dump.Width);
    const uint32_t y1 = std::min<uint32_t>(std::stoul(argv[5]), dump.Height);
    const uint32_t colour = std::stoul(argv[6], nullptr, 16);
    int64_t count = 0;
    for (uint32_t y = y0; y < y1; ++y)
      for (uint32_t x = x0; x < x1; ++x)
        if (dump.Rgb(x, y) == colour) ++count;
    std::cout << count << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "xwd_pixels: " << e.what() << "\n";
    return 1;
  }
}
