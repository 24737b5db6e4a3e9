#include "platform/graphics/TColor.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>

#include "platform/core/Exception.h"

namespace bw {

namespace {

// The classic 16-colour desktop scheme; every system colour resolves through it so that
// pictures come out the same on every machine.
constexpr TColor kSysColors[COLOR_COUNT] = {
    RGB(0xC0, 0xC0, 0xC0),  // scroll bar
    RGB(0x00, 0x80, 0x80),  // desktop
    RGB(0x00, 0x00, 0x80),  // active caption
    RGB(0x80, 0x80, 0x80),  // inactive caption
    RGB(0xC0, 0xC0, 0xC0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x00, 0x00, 0x00),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0xFF, 0xFF, 0xFF),  // caption text
    RGB(0xC0, 0xC0, 0xC0),  // active border
    RGB(0xC0, 0xC0, 0xC0),  // inactive border
    RGB(0x80, 0x80, 0x80),  // application work space
    RGB(0x00, 0x00, 0x80),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xC0, 0xC0, 0xC0),  // button face
    RGB(0x80, 0x80, 0x80),  // button shadow
    RGB(0x80, 0x80, 0x80),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0xC0, 0xC0, 0xC0),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x00, 0x00, 0x00),  // 3-D dark shadow
    RGB(0xC0, 0xC0, 0xC0),  // 3-D light
    RGB(0x00, 0x00, 0x00),  // tooltip text
    RGB(0xFF, 0xFF, 0xE1),  // tooltip background
};

struct TColorName {
  TColor Color;
  const char* Name;
};

constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

}  // namespace

TColor GetSysColor(int32_t index) {
  if (index < 0 || index >= COLOR_COUNT) return clBlack;
  return kSysColors[index];
}

TColor ColorToRGB(TColor color) {
  if (IsSysColor(color)) return GetSysColor(color & 0xFF);
  return color & 0x00FFFFFF;
}

uint32_t ColorToPixel(TColor color) {
  TColor c = ColorToRGB(color);
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

bool ColorToIdent(TColor color, String& ident) {
  for (const auto& n : kColorNames)
    if (n.Color == color) {
      ident = n.Name;
      return true;
    }
  return false;
}

bool ColorIntToIdent(int64_t value, String& ident) {
  return ColorToIdent(static_cast<TColor>(value), ident);
}

bool ColorIdentToInt(const String& ident, int64_t& value) {
  TColor color = 0;
  if (!IdentToColor(ident, color)) return false;
  value = color;
  return true;
}

bool IdentToColor(const String& ident, TColor& color) {
  for (const auto& n : kColorNames)
    if (strcasecmp(n.Name, ident.c_str()) == 0) {
      color = n.Color;
      return true;
    }
  return false;
}

String ColorToString(TColor color) {
  String s;
  if (ColorToIdent(color, s)) return s;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<uint32_t>(color));
  return buf;
}

TColor StringToColor(const String& text) {
  TColor c;
  if (IdentToColor(text, c)) return c;
  const char* s = text.c_str();
  char* end = nullptr;
  long long v = 0;
  if (!text.empty() && text[0] == '$')
    v = std::strtoll(s + 1, &end, 16);
  else
    v = std::strtoll(s, &end, 10);
  if (text.empty() || (text[0] == '$' && text.size() == 1) || *end != '\0' || v < INT32_MIN ||
      v > UINT32_MAX)
    throw EConvertError("'" + text + "' is not a valid colour");
  return static_cast<TColor>(static_cast<uint32_t>(v));
}

}  // namespace bw
