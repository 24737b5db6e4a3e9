#pragma once
// Value types shared by the controls: mouse buttons, shift states, alignment, control
// style and state flags, window-creation parameters and the event signatures.

#include <cstdint>

#include "platform/core/TEvent.h"
#include "platform/core/TSet.h"
#include "platform/core/Types.h"

namespace bw {

class TObject;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

/// Where a control sits in its parent: nowhere special, or docked to an edge or the rest.
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

/// What a control is able to do. The order gives the classic bit numbers.
enum TControlStyleFlag : uint8_t {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
};
using TControlStyle = TSet<TControlStyleFlag>;

/// What a control is going through right now.
enum TControlStateFlag : uint8_t {
  csLButtonDown,  ///< The left button went down on this control and is not yet released.
  csClicked,      ///< A press started a click that the release completes.
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,  ///< Focus is being moved to this control.
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
};
using TControlState = TSet<TControlStateFlag>;

/// Borders of edits and grids use the first two; forms use them all.
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TFormBorderStyle = TBorderStyle;

/// Where a form appears when it is first shown.
enum TPosition : uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
};

/// A mouse pointer shape: crDefault (0) or one of the negative standard shapes.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

/// Cursor names for form files, both ways.
bool CursorToIdent(int64_t Cursor, String& Ident);
bool IdentToCursor(const String& Ident, int64_t& Cursor);

/// Window-creation parameters that CreateParams fills and CreateWnd uses.
struct TCreateParams {
  String Caption;
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  uintptr_t WndParent = 0;
  /// The window class's style bits (CS_ values).
  uint32_t WindowClassStyle = 0;
};

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, Char& Key)>;

}  // namespace bw
