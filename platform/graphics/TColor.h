#pragma once
// Colours: a TColor is either an RGB value laid out 0x00BBGGRR, or a system colour
// 0x80000000 + index that ColorToRGB resolves through one fixed classic palette.
// Bitmap pixels are 32-bit 0x00RRGGBB (the byte order B, G, R, 0 in memory, as BMP files
// and most display surfaces have it); ColorToPixel and PixelToColor convert.

#include <cstdint>

#include "platform/core/Types.h"

namespace bw {

using TColor = int32_t;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16));
}
constexpr uint8_t GetRValue(TColor c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GetGValue(TColor c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(TColor c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// The indexes of the system colours.
enum TSysColorIndex : int32_t {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  COLOR_COUNT = 25
};

constexpr TColor SysColor(int32_t index) {
  return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index));
}
constexpr bool IsSysColor(TColor c) {
  return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u;
}

inline constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
inline constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
inline constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
inline constexpr TColor clMenu = SysColor(COLOR_MENU);
inline constexpr TColor clWindow = SysColor(COLOR_WINDOW);
inline constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
inline constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
inline constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
inline constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
inline constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
inline constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
inline constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
inline constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
inline constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
inline constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
inline constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
inline constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
inline constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
inline constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
inline constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
inline constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);

inline constexpr TColor clBlack = RGB(0x00, 0x00, 0x00);
inline constexpr TColor clMaroon = RGB(0x80, 0x00, 0x00);
inline constexpr TColor clGreen = RGB(0x00, 0x80, 0x00);
inline constexpr TColor clOlive = RGB(0x80, 0x80, 0x00);
inline constexpr TColor clNavy = RGB(0x00, 0x00, 0x80);
inline constexpr TColor clPurple = RGB(0x80, 0x00, 0x80);
inline constexpr TColor clTeal = RGB(0x00, 0x80, 0x80);
inline constexpr TColor clGray = RGB(0x80, 0x80, 0x80);
inline constexpr TColor clSilver = RGB(0xC0, 0xC0, 0xC0);
inline constexpr TColor clRed = RGB(0xFF, 0x00, 0x00);
inline constexpr TColor clLime = RGB(0x00, 0xFF, 0x00);
inline constexpr TColor clYellow = RGB(0xFF, 0xFF, 0x00);
inline constexpr TColor clBlue = RGB(0x00, 0x00, 0xFF);
inline constexpr TColor clFuchsia = RGB(0xFF, 0x00, 0xFF);
inline constexpr TColor clAqua = RGB(0x00, 0xFF, 0xFF);
inline constexpr TColor clLtGray = clSilver;
inline constexpr TColor clDkGray = clGray;
inline constexpr TColor clWhite = RGB(0xFF, 0xFF, 0xFF);
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

/// The RGB value of a system colour index in the fixed classic palette (black for an
/// unknown index).
TColor GetSysColor(int32_t index);
/// Resolves a system colour to its RGB value; an RGB colour is returned unchanged
/// (with any high byte cleared).
TColor ColorToRGB(TColor color);

/// A bitmap pixel (0x00RRGGBB) from a colour, system colours resolved.
uint32_t ColorToPixel(TColor color);
/// The colour (0x00BBGGRR) of a bitmap pixel.
constexpr TColor PixelToColor(uint32_t pixel) {
  return RGB(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
             static_cast<uint8_t>(pixel));
}

/// The identifier of a named colour ("clBtnFace", "clRed"); false for any other value.
bool ColorToIdent(TColor color, String& ident);
/// The colour of an identifier, compared without regard to case; false when unknown.
bool IdentToColor(const String& ident, TColor& color);
/// The same two, shaped for colour properties of form files (TPublishedProperty::Idents).
bool ColorIntToIdent(int64_t value, String& ident);
bool ColorIdentToInt(const String& ident, int64_t& value);
/// A colour as its identifier, or as "$00BBGGRR" hexadecimal when it has none.
String ColorToString(TColor color);
/// Reads an identifier, "$hex" or a decimal number; EConvertError when none of these.
TColor StringToColor(const String& text);

}  // namespace bw
