#pragma once
// Message numbers and the message record. Window messages (WM_) carry raw input and
// window events; component messages (CM_) carry the control tree's own notifications.
// Every control reaches its handlers through one Dispatch by message number.

#include <cstdint>

#include "platform/core/TPoint.h"

namespace bw {

class TControl;

/// A message: its number, two parameters and the handler's result.
struct TMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Window messages.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;       // WParam SIZE_ kind, LParam width | height << 16
inline constexpr uint32_t WM_ACTIVATE = 0x0006;   // WParam WA_ kind
inline constexpr uint32_t WM_SETFOCUS = 0x0007;   // WParam: the handle losing the focus
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;  // WParam: the handle receiving the focus
inline constexpr uint32_t WM_ENABLE = 0x000A;
inline constexpr uint32_t WM_SETTEXT = 0x000C;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_CANCELMODE = 0x001F;
inline constexpr uint32_t WM_MOUSEACTIVATE = 0x0021;  // Result: an MA_ answer
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t WM_GETDLGCODE = 0x0087;  // Result: DLGC_ bits
inline constexpr uint32_t WM_KEYDOWN = 0x0100;     // WParam VK code, LParam kMod bits
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;       // WParam a code point, LParam kMod bits
inline constexpr uint32_t WM_TIMER = 0x0113;      // WParam the timer's id
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;  // WParam MK_ bits, LParam x | y << 16
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;  // WParam MK_ bits | delta << 16
inline constexpr uint32_t WM_CUT = 0x0300;
inline constexpr uint32_t WM_COPY = 0x0301;
inline constexpr uint32_t WM_PASTE = 0x0302;
inline constexpr uint32_t WM_CLEAR = 0x0303;
inline constexpr uint32_t WM_UNDO = 0x0304;
inline constexpr uint32_t WM_USER = 0x0400;

// Edit control requests.
inline constexpr uint32_t EM_GETSEL = 0x00B0;
inline constexpr uint32_t EM_SETSEL = 0x00B1;
inline constexpr uint32_t EM_GETRECT = 0x00B2;
inline constexpr uint32_t EM_SETRECT = 0x00B3;    // LParam: a TRect*
inline constexpr uint32_t EM_SETRECTNP = 0x00B4;  // as EM_SETRECT, without repainting
inline constexpr uint32_t EM_SCROLLCARET = 0x00B7;
inline constexpr uint32_t EM_GETMODIFY = 0x00B8;
inline constexpr uint32_t EM_SETMODIFY = 0x00B9;
inline constexpr uint32_t EM_LIMITTEXT = 0x00C5;
inline constexpr uint32_t EM_CANUNDO = 0x00C6;
inline constexpr uint32_t EM_UNDO = 0x00C7;
inline constexpr uint32_t EM_SETREADONLY = 0x00CF;

// Component messages.
inline constexpr uint32_t CM_BASE = 0xB000;
inline constexpr uint32_t CM_ACTIVATE = CM_BASE + 0;
inline constexpr uint32_t CM_DEACTIVATE = CM_BASE + 1;
inline constexpr uint32_t CM_FOCUSCHANGED = CM_BASE + 7;  // LParam: the control with the focus
inline constexpr uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr uint32_t CM_SHOWINGCHANGED = CM_BASE + 12;
inline constexpr uint32_t CM_ENTER = CM_BASE + 13;
inline constexpr uint32_t CM_EXIT = CM_BASE + 14;
inline constexpr uint32_t CM_DIALOGKEY = CM_BASE + 16;  // WParam VK code, LParam kMod bits
inline constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 17;
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 20;
inline constexpr uint32_t CM_COLORCHANGED = CM_BASE + 21;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 22;
inline constexpr uint32_t CM_CURSORCHANGED = CM_BASE + 23;
inline constexpr uint32_t CM_CTL3DCHANGED = CM_BASE + 24;
inline constexpr uint32_t CM_PARENTCTL3DCHANGED = CM_BASE + 25;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 26;
inline constexpr uint32_t CM_MOUSEENTER = CM_BASE + 27;
inline constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 28;
inline constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 34;
inline constexpr uint32_t CM_BUTTONPRESSED = CM_BASE + 36;  // WParam group, LParam the button
inline constexpr uint32_t CM_SHOWHINTCHANGED = CM_BASE + 37;
inline constexpr uint32_t CM_CANCELMODE = CM_BASE + 40;  // LParam: the control that asks
inline constexpr uint32_t CM_PARENTSHOWHINTCHANGED = CM_BASE + 47;
inline constexpr uint32_t CM_WANTSPECIALKEY = CM_BASE + 55;
inline constexpr uint32_t CM_RELEASE = CM_BASE + 33;
inline constexpr uint32_t CM_INVOKEHELP = CM_BASE + 59;

// WM_ACTIVATE kinds.
inline constexpr uintptr_t WA_INACTIVE = 0;
inline constexpr uintptr_t WA_ACTIVE = 1;
inline constexpr uintptr_t WA_CLICKACTIVE = 2;

// WM_SIZE kinds.
inline constexpr uintptr_t SIZE_RESTORED = 0;

// Key and button state bits of mouse messages.
inline constexpr uintptr_t MK_LBUTTON = 0x0001;
inline constexpr uintptr_t MK_RBUTTON = 0x0002;
inline constexpr uintptr_t MK_SHIFT = 0x0004;
inline constexpr uintptr_t MK_CONTROL = 0x0008;
inline constexpr uintptr_t MK_MBUTTON = 0x0010;
inline constexpr uintptr_t MK_ALT = 0x0020;  // our own: the classic messages lack it

// WM_MOUSEACTIVATE answers.
inline constexpr intptr_t MA_ACTIVATE = 1;
inline constexpr intptr_t MA_ACTIVATEANDEAT = 2;
inline constexpr intptr_t MA_NOACTIVATE = 3;
inline constexpr intptr_t MA_NOACTIVATEANDEAT = 4;

// WM_GETDLGCODE answers: which keys a control wants for itself.
inline constexpr intptr_t DLGC_WANTARROWS = 0x0001;
inline constexpr intptr_t DLGC_WANTTAB = 0x0002;
inline constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
inline constexpr intptr_t DLGC_HASSETSEL = 0x0008;
inline constexpr intptr_t DLGC_WANTCHARS = 0x0080;

/// Packs a point into an LParam as the mouse messages carry it.
constexpr intptr_t PointToLParam(TPoint P) {
  return intptr_t((uint32_t(uint16_t(int16_t(P.X)))) | (uint32_t(uint16_t(int16_t(P.Y))) << 16));
}
constexpr TPoint LParamToPoint(intptr_t L) {
  return TPoint{int16_t(uint16_t(uint32_t(L) & 0xFFFF)), int16_t(uint16_t(uint32_t(L) >> 16))};
}
constexpr intptr_t MakeLParam(uint16_t Lo, uint16_t Hi) {
  return intptr_t(uint32_t(Lo) | (uint32_t(Hi) << 16));
}

/// The control that a CM_CANCELMODE message names.
inline TControl* CancelModeSender(const TMessage& Message) {
  return reinterpret_cast<TControl*>(Message.LParam);
}

}  // namespace bw
