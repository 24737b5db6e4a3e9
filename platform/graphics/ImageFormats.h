#pragma once
// Reading and writing images as files: BMP both ways, PNG for export.

#include <memory>
#include <vector>

#include "platform/core/Types.h"
#include "platform/graphics/TBitmapImage.h"

namespace bw {

/// Decodes a BMP file held in memory; EInvalidGraphic for anything malformed.
std::unique_ptr<TBitmapImage> ReadBmp(const uint8_t* data, size_t size);
/// Encodes an image as a BMP file at the image's pixel format (pfDevice and the 15 and
/// 16-bit formats are written with 24 bits).
std::vector<uint8_t> WriteBmp(const TBitmapImage& image);
/// Encodes an image as an 8-bit RGB PNG file; EInvalidGraphic when libpng fails.
std::vector<uint8_t> WritePng(const TBitmapImage& image);

/// The standard 16-colour palette (0x00RRGGBB) used for 4-bit images without their own.
const std::vector<uint32_t>& StandardPalette16();

/// Reads a whole file (EFOpenError or EReadError when it cannot).
std::vector<uint8_t> ReadWholeFile(const String& fileName);
/// Writes a file so that a failure never leaves a half-written one (SaveFileAtomically).
void WriteWholeFile(const String& fileName, const std::vector<uint8_t>& data);

}  // namespace bw
