#pragma once
// Finds fonts with fontconfig and renders their glyphs with FreeType. Faces are cached
// by (family, style, pitch, height) and each face caches its rendered glyphs, so text
// drawing after the first use of a character costs only the blending.

#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/graphics/TFont.h"

namespace bw {

/// One rendered glyph: an 8-bit coverage image placed relative to the pen position on
/// the base line.
struct TGlyph {
  int32_t Advance = 0;  // pixels to move the pen by
  int32_t Left = 0;     // image offset right of the pen position
  int32_t Top = 0;      // image offset above the base line
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;  // Width * Height, 0 = none, 255 = full
};

/// One font at one pixel size.
class TFontFace {
 public:
  struct Impl;
  explicit TFontFace(std::unique_ptr<Impl> impl);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  const TTextMetric& Metrics() const { return FMetrics; }
  /// The rendered glyph of a character (a missing character gives the font's box glyph).
  const TGlyph& Glyph(Char c);
  /// The sum of the advances of the characters of a UTF-8 text.
  int32_t TextWidth(const String& text);
  /// Underline and strike-out bars: offset below the base line (negative: above) and
  /// thickness, in pixels.
  int32_t UnderlinePosition() const { return FUnderlinePos; }
  int32_t StrikeOutPosition() const { return FStrikePos; }
  int32_t LineThickness() const { return FLineThickness; }
  /// The file the face was loaded from (empty when no font file could be found at all).
  const String& FileName() const;
  /// The bytes of coverage the glyph cache holds; kept under a fixed limit.
  size_t CachedGlyphBytes() const { return FGlyphBytes; }

 private:
  std::unique_ptr<Impl> FImpl;
  TTextMetric FMetrics;
  int32_t FUnderlinePos = 1;
  int32_t FStrikePos = -3;
  int32_t FLineThickness = 1;
  std::unordered_map<Char, TGlyph> FGlyphs;
  size_t FGlyphBytes = 0;

  TGlyph Render(Char c);
};

class TFontEngine {
 public:
  static TFontEngine& Instance();

  /// The face for a font description; Height as TFont has it. Never null: when no font
  /// file can be found at all, the face draws nothing and reports estimated metrics.
  TFontFace* Face(const String& name, TFontStyles style, TFontPitch pitch, int32_t height);
  TFontFace* Face(const TFont& font) {
    return Face(font.Name(), font.Style(), font.Pitch(), font.Height());
  }

  /// How many faces are cached; kept under a fixed limit.
  size_t CachedFaces() const { return FFaces.size(); }

  /// Decodes UTF-8 into code points; a malformed byte becomes U+FFFD.
  static std::u32string Decode(const String& text);

  ~TFontEngine();

 private:
  TFontEngine();
  struct Match {
    String File;
    int Index = 0;
    bool SynthBold = false;
    bool SynthItalic = false;
  };
  Match Find(const String& name, TFontStyles style, TFontPitch pitch);

  void* FLibrary = nullptr;  // FT_Library
  std::map<std::tuple<String, uint64_t, int>, Match> FMatches;
  std::map<std::tuple<String, uint64_t, int, int32_t>, std::unique_ptr<TFontFace>> FFaces;
};

}  // namespace bw
