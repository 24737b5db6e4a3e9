#pragma once
// Window-level calls in the classic style, over our own window manager: handles, focus,
// mouse capture, the caret, window placement without activation, timers and system
// metrics. Child windows are ours alone; only top-level windows reach the back end.

#include <cstdint>

#include "platform/controls/Messages.h"
#include "platform/core/TRect.h"

namespace bw {

class TWinControl;

/// A window handle; 0 is none. Re-creating a window gives it a new handle.
using HWND = uintptr_t;

// Window styles.
inline constexpr uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr uint32_t WS_TABSTOP = 0x00010000;
inline constexpr uint32_t WS_GROUP = 0x00020000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_HSCROLL = 0x00100000;
inline constexpr uint32_t WS_VSCROLL = 0x00200000;
inline constexpr uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr uint32_t CS_VREDRAW = 0x0001;
inline constexpr uint32_t CS_HREDRAW = 0x0002;
inline constexpr uint32_t CS_DBLCLKS = 0x0008;
inline constexpr uint32_t CS_SAVEBITS = 0x0800;

// Edit styles.
inline constexpr uint32_t ES_LEFT = 0x0000;
inline constexpr uint32_t ES_CENTER = 0x0001;
inline constexpr uint32_t ES_RIGHT = 0x0002;
inline constexpr uint32_t ES_MULTILINE = 0x0004;
inline constexpr uint32_t ES_UPPERCASE = 0x0008;
inline constexpr uint32_t ES_LOWERCASE = 0x0010;
inline constexpr uint32_t ES_PASSWORD = 0x0020;
inline constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr uint32_t ES_NOHIDESEL = 0x0100;
inline constexpr uint32_t ES_READONLY = 0x0800;

// Button styles.
inline constexpr uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr uint32_t BS_DEFPUSHBUTTON = 0x0001;

// SetWindowPos.
inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_BOTTOM = 1;
inline constexpr HWND HWND_TOPMOST = HWND(-1);
inline constexpr HWND HWND_NOTOPMOST = HWND(-2);
inline constexpr uint32_t SWP_NOSIZE = 0x0001;
inline constexpr uint32_t SWP_NOMOVE = 0x0002;
inline constexpr uint32_t SWP_NOZORDER = 0x0004;
inline constexpr uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr uint32_t SWP_HIDEWINDOW = 0x0080;

// ShowWindow.
inline constexpr int32_t SW_HIDE = 0;
inline constexpr int32_t SW_SHOWNORMAL = 1;
inline constexpr int32_t SW_SHOWNOACTIVATE = 4;
inline constexpr int32_t SW_SHOW = 5;
inline constexpr int32_t SW_SHOWNA = 8;

// GetSystemMetrics.
inline constexpr int32_t SM_CXSCREEN = 0;
inline constexpr int32_t SM_CYSCREEN = 1;
inline constexpr int32_t SM_CXVSCROLL = 2;
inline constexpr int32_t SM_CYHSCROLL = 3;
inline constexpr int32_t SM_CXBORDER = 5;
inline constexpr int32_t SM_CYBORDER = 6;
inline constexpr int32_t SM_CXEDGE = 45;
inline constexpr int32_t SM_CYEDGE = 46;
inline constexpr int32_t SM_CXDOUBLECLK = 36;
inline constexpr int32_t SM_CYDOUBLECLK = 37;

/// The control that owns a handle; null for 0 or a handle that no longer exists.
TWinControl* FindControl(HWND Wnd);

/// Delivers a message at once through the window's control; 0 for a dead handle. A
/// failing handler is reported through the application, as for any window message.
intptr_t SendMessage(HWND Wnd, uint32_t Msg, uintptr_t WParam, intptr_t LParam);
/// Queues a message for the message loop; false for a dead handle.
bool PostMessage(HWND Wnd, uint32_t Msg, uintptr_t WParam, intptr_t LParam);

/// The window with the keyboard focus, or 0.
HWND GetFocus();
/// Moves the keyboard focus (WM_KILLFOCUS to the old window, WM_SETFOCUS to the new);
/// returns the window that had it.
HWND SetFocus(HWND Wnd);

/// The window holding the mouse capture, or 0.
HWND GetCapture();
/// Every mouse event goes to Wnd until released; returns the previous holder.
HWND SetCapture(HWND Wnd);
/// Releases the capture; the holder gets WM_CANCELMODE-free notice through the loss.
bool ReleaseCapture();

/// Places a window: a top-level window in screen coordinates, a child in its parent's
/// client coordinates. SWP_SHOWWINDOW and SWP_HIDEWINDOW show and hide it; unless
/// SWP_NOACTIVATE is given, showing a form activates it.
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int32_t X, int32_t Y, int32_t CX, int32_t CY,
                  uint32_t Flags);
bool ShowWindow(HWND Wnd, int32_t CmdShow);
bool IsWindowVisible(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);

/// Marks part of a window's client area (all of it for null) to be painted.
bool InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase);
/// Paints what is marked in the window's top-level window now, and presents it.
bool UpdateWindow(HWND Wnd);

// The caret: one per program, owned by the window that created it (normally the window
// with the focus). It is drawn inverted over the owner's pixels while shown.
bool CreateCaret(HWND Wnd, void* Bitmap, int32_t Width, int32_t Height);
bool DestroyCaret();
/// Each ShowCaret undoes one HideCaret; a new caret starts hidden.
bool ShowCaret(HWND Wnd);
bool HideCaret(HWND Wnd);
bool SetCaretPos(int32_t X, int32_t Y);
bool GetCaretPos(TPoint& Point);

/// What the caret looks like now, for painting and for tests.
struct TCaretInfo {
  HWND Owner = 0;
  TPoint Pos;
  int32_t Width = 0;
  int32_t Height = 0;
  bool Visible = false;  ///< Created, and shown more often than hidden.
};
TCaretInfo GetCaretInfo();

/// A repeating timer that sends WM_TIMER with IDEvent to Wnd; returns IDEvent, 0 on
/// failure. Setting an id again restarts it.
uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, uint32_t Elapse);
bool KillTimer(HWND Wnd, uintptr_t IDEvent);

int32_t GetSystemMetrics(int32_t Index);
/// Milliseconds on the back end's clock, wrapping at 2^32. The headless clock moves only
/// when a test moves it.
uint32_t GetTickCount();
/// Negative while the key is held (as far as the input seen so far tells).
int16_t GetKeyState(int32_t VirtualKey);

inline bool PtInRect(const TRect& Rect, TPoint P) {
  return Rect.Contains(P);
}
inline void SetRect(TRect& Rect, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  Rect = TRect{Left, Top, Right, Bottom};
}

}  // namespace bw
