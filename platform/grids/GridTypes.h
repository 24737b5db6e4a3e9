#pragma once
// Small value types of the grids: cell coordinates and ranges, options, drawing states.

#include <cstdint>

#include "platform/core/TSet.h"

namespace bw {

/// A cell: X is the column, Y the row.
struct TGridCoord {
  int32_t X = 0;
  int32_t Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};

/// A block of cells, both corners included.
struct TGridRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  constexpr bool Contains(int32_t ACol, int32_t ARow) const {
    return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
  }
  constexpr bool operator==(const TGridRect&) const = default;
};

/// Where an index of a row or column lands when the one at From moves to To: the moved one
/// takes To, the ones between shift by one towards From's place, the rest stay.
constexpr int32_t MovedIndex(int32_t Index, int32_t From, int32_t To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (From > To && Index >= To && Index < From) return Index + 1;
  return Index;
}

enum TGridOption : uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateFlag : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

/// What a mouse drag in the grid is doing.
enum TGridState : uint8_t {
  gsNormal,
  gsSelecting,
  gsRowSizing,
  gsColSizing,
  gsRowMoving,
  gsColMoving
};

/// Which scroll bars a grid may show; each appears only when there is something to scroll.
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

/// Keyboard moves of the current cell, as the grid's keys map to them.
enum TGridMove : uint8_t {
  gmUp,
  gmDown,
  gmLeft,
  gmRight,
  gmPageUp,
  gmPageDown,
  gmPageLeft,
  gmPageRight,
  gmTopOfPage,
  gmBottomOfPage,
  gmHome,
  gmEnd,
  gmFirstCell,
  gmLastCell,
  gmNextCell,
  gmPrevCell,
};

}  // namespace bw
