#pragma once
// Helpers of the grid tests: a grid that counts its resynchronisations and opens its
// protected hooks, items loaded from the outline's text form, and the shown rows read
// back as texts.

#include <map>
#include <utility>
#include <vector>

#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "grid/TInGridOutline.h"
#include "platform/core/TStringStream.h"
#include "platform/core/TStrings.h"
#include "platform/outline/TOutlineNode.h"

namespace bw::testing {

class TestCorvath : public TCorvath {
 public:
  using TCorvath::CanEditAcceptKey;
  using TCorvath::CanEditShow;
  using TCorvath::DblClick;
  using TCorvath::DrawCell;
  using TCorvath::HiddenOutline;
  using TCorvath::MouseDown;
  using TCorvath::MouseUp;
  using TCorvath::TCorvath;

  void SyncOutline() override {
    ++Syncs;
    TCorvath::SyncOutline();
  }

  /// The rectangle each cell was last painted in.
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override {
    Painted[{ACol, ARow}] = ARect;
    TCorvath::DrawCell(ACol, ARow, ARect, AState);
  }

  int Syncs = 0;
  std::map<std::pair<int32_t, int32_t>, TRect> Painted;
};

/// Replaces the items with those of text (one item a line, tabs give the level).
inline void LoadItems(TCorvath& grid, const String& text) {
  TStringStream stream(text);
  grid.Outline()->LoadFromStream(&stream);
}

/// The texts of the non-fixed rows, "-" for a row without an item.
inline std::vector<String> ShownRows(const TCorvath& grid) {
  std::vector<String> rows;
  for (int32_t r = grid.FixedRows(); r < grid.RowCount(); ++r) {
    TOutlineNode* node = grid.RowToOutline(r);
    rows.push_back(node ? node->Text() : "-");
  }
  return rows;
}

/// The outline index of the item with that text.
inline int32_t ItemIndex(TCorvath& grid, const String& text) {
  return grid.Outline()->GetTextItem(text);
}

}  // namespace bw::testing
