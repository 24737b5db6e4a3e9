#pragma once
// A font description: family name, size, style and colour. Fonts are found through
// fontconfig and drawn with FreeType (see TFontEngine); a family that is not installed
// falls back to the default sans font.

#include "platform/core/TSet.h"
#include "platform/graphics/TColor.h"
#include "platform/graphics/TGraphicsObject.h"

namespace bw {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

/// The character set a font was chosen for in files made elsewhere; our text is Unicode,
/// so it is kept for form files only.
using TFontCharset = uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset OEM_CHARSET = 255;

/// Character-set names for form files, both ways.
bool CharsetToIdent(int64_t Charset, String& Ident);
bool IdentToCharset(const String& Ident, int64_t& Charset);

/// Text metrics of a font, as the classic text-metrics call reports them (pixels).
struct TTextMetric {
  int32_t tmHeight = 0;           // ascent + descent
  int32_t tmAscent = 0;           // above the base line
  int32_t tmDescent = 0;          // below the base line
  int32_t tmInternalLeading = 0;  // tmHeight minus the em height
  int32_t tmExternalLeading = 0;  // extra space the font suggests between lines
  int32_t tmAveCharWidth = 0;     // width of the letter x
  int32_t tmMaxCharWidth = 0;     // widest advance in the font
};

/// The pixels per inch that font sizes are converted with.
inline constexpr int32_t ScreenPixelsPerInch = 96;

/// The default family of new fonts.
inline constexpr const char* DefaultFontName = "DejaVu Sans";

class TFont : public TGraphicsObject {
  BW_CLASS(TFont, TGraphicsObject)

 public:
  TFont() = default;

  void Assign(TPersistent* Source) override;

  /// The family name; default DejaVuSans ("DejaVu Sans").
  const String& Name() const { return FName; }
  void SetName(const String& value);
  /// Height in pixels at 96 pixels per inch: negative gives the character (em) height,
  /// positive the cell height (ascent + descent). Default -11 (8 points).
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value);
  /// Size in points; setting it sets Height to -Size * 96 / 72 (rounded).
  int32_t Size() const;
  void SetSize(int32_t value);
  /// Default empty.
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  /// Default clWindowText.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  /// Default fpDefault; fpFixed asks fontconfig for a monospaced face.
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  int32_t PixelsPerInch() const { return ScreenPixelsPerInch; }
  /// Default DEFAULT_CHARSET.
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset value);

  /// The metrics of the face this font resolves to.
  TTextMetric TextMetrics() const;

 private:
  String FName = DefaultFontName;
  int32_t FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontPitch FPitch = fpDefault;
  TFontCharset FCharset = DEFAULT_CHARSET;
};

}  // namespace bw
