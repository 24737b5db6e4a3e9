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

enum TBorderStyle : uint8_t { bsNone, bsSingle };

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
