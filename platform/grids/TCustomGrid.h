#pragma once
// The grid base: a control that shows a table of cells and paints each through the
// DrawCell hook, with fixed columns and rows that do not scroll, a current cell and a
// selection, keyboard and mouse navigation, sizing and moving of columns and rows by
// dragging in the fixed area, scroll bars of its own, and an in-place editor. It stores
// no cell data: descendants supply painting and the text to edit through the hooks.
//
// Geometry lives in TGridLayout (sizes as a default plus the exceptions), so painting,
// navigation and hit testing cost the same for a million rows as for a hundred.
//
// Sections of TCustomGrid.cpp: construction; sizes and options; the current cell,
// selection and scrolling; moving and deleting columns and rows; the in-place editor;
// keyboard; mouse and scroll bars; painting; form storage.

#include <memory>
#include <vector>

#include "platform/controls/TCustomControl.h"
#include "platform/grids/EInvalidGridOperation.h"
#include "platform/grids/GridTypes.h"
#include "platform/grids/TGridLayout.h"
#include "platform/grids/TGridScrollBar.h"

namespace bw {

class TInplaceEdit;
class TReader;
class TWriter;

inline constexpr const char* SGridIndexOutOfRange = "Grid index out of range";
inline constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
inline constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";

class TCustomGrid : public TCustomControl {
  BW_CLASS(TCustomGrid, TCustomControl)

 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // --- sizes -------------------------------------------------------------------------
  /// Default 5; at least 1. Fewer columns than fixed ones lowers FixedCols.
  int32_t ColCount() const { return FLayout.Cols().Count(); }
  void SetColCount(int32_t Value);
  /// Default 5; at least 1. Calls SizeChanged when the count really changes.
  int32_t RowCount() const { return FLayout.Rows().Count(); }
  void SetRowCount(int32_t Value);
  /// Default 1; must stay below ColCount.
  int32_t FixedCols() const { return FLayout.FixedCols(); }
  void SetFixedCols(int32_t Value);
  /// Default 1; must stay below RowCount.
  int32_t FixedRows() const { return FLayout.FixedRows(); }
  void SetFixedRows(int32_t Value);
  /// Default 64. A new value gives every column the new width.
  int32_t DefaultColWidth() const { return FLayout.Cols().DefaultSize(); }
  void SetDefaultColWidth(int32_t Value);
  /// Default 24. A new value gives every row the new height.
  int32_t DefaultRowHeight() const { return FLayout.Rows().DefaultSize(); }
  void SetDefaultRowHeight(int32_t Value);
  /// Width of a column in pixels, its grid line not included; -1 hides the column.
  int32_t GetColWidths(int32_t Index) const;
  void SetColWidths(int32_t Index, int32_t Value);
  int32_t GetRowHeights(int32_t Index) const;
  void SetRowHeights(int32_t Index, int32_t Value);
  /// Default 1.
  int32_t GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int32_t Value);

  // --- appearance and behaviour --------------------------------------------------------
  /// Default: fixed and normal lines in both directions, and range selection.
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  /// Default clBtnFace: the background of the fixed cells.
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  /// Default true: the grid fills each cell's background and draws the 3-D edges of the
  /// fixed cells itself; false leaves all of a cell to DrawCell.
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  /// Default ssBoth.
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  /// Default bsSingle.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // --- the current cell, the selection and scrolling -----------------------------------
  int32_t Col() const { return FCurrent.X; }
  void SetCol(int32_t Value);
  int32_t Row() const { return FCurrent.Y; }
  void SetRow(int32_t Value);
  /// The selected block: from the anchor to the current cell, or whole rows with
  /// goRowSelect.
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  int32_t TopRow() const { return FLayout.TopLeft().Y; }
  void SetTopRow(int32_t Value);
  int32_t LeftCol() const { return FLayout.TopLeft().X; }
  void SetLeftCol(int32_t Value);
  /// Scrolled columns and rows that the view shows whole.
  int32_t VisibleColCount() const { return FLayout.VisibleColCount(); }
  int32_t VisibleRowCount() const { return FLayout.VisibleRowCount(); }

  // --- geometry ------------------------------------------------------------------------
  /// The cell's rectangle in client coordinates, without its grid lines; empty when
  /// the cell is not in view.
  TRect CellRect(int32_t ACol, int32_t ARow) const;
  /// The cell under a client point; -1 for a coordinate outside every column or row.
  void MouseToCell(int32_t X, int32_t Y, int32_t& ACol, int32_t& ARow) const;
  TGridCoord MouseCoord(int32_t X, int32_t Y) const;
  /// The layout the grid is shown with (read only; the grid keeps it consistent).
  const TGridLayout& Layout() const { return FLayout; }

  // --- repainting ----------------------------------------------------------------------
  void InvalidateCell(int32_t ACol, int32_t ARow);
  void InvalidateCol(int32_t ACol);
  void InvalidateRow(int32_t ARow);
  void InvalidateGrid() { Invalidate(); }

  // --- the in-place editor -------------------------------------------------------------
  /// True while the grid edits: the editor shows over the current cell whenever
  /// CanEditShow allows.
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  void ShowEditor();
  /// Closes the editor, handing its text to SetEditText first.
  void HideEditor();
  /// An open editor reloads its text through GetEditText.
  void InvalidateEditor();
  /// The editor, once CreateEditor has made it; null before.
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  // TControl
  void Loaded() override;

 protected:
  /// Stores ColWidths and RowHeights (those that differ from the defaults) while
  /// SaveCellExtents is set.
  void DefineProperties(TFiler* Filer) override;

 public:
 protected:
  friend class TInplaceEdit;

  /// For a descendant that decides what its rows show: they show other contents now
  /// (see TGridLayout::MarkChanged).
  void RowContentsChanged() { FLayout.MarkChanged(); }

  // --- hooks for descendants -----------------------------------------------------------
  /// Makes the in-place editor; called once, when the editor is first needed.
  virtual TInplaceEdit* CreateEditor();
  /// May the editor show over the current cell? Needs goEditing without goRowSelect, the
  /// editor mode, a scrolled current cell that is not hidden, and run time.
  virtual bool CanEditShow();
  /// May the editor's text be changed? Default true.
  virtual bool CanEditModify();
  /// Is a typed character welcome in the editor? A refused one is dropped. Default true.
  virtual bool CanEditAcceptKey(Char Key);
  /// Paints one cell; the canvas is set up for it (font, brush for its state).
  virtual void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) = 0;
  /// May the cell become current? Default true.
  virtual bool SelectCell(int32_t ACol, int32_t ARow);
  virtual String GetEditText(int32_t ACol, int32_t ARow);
  virtual void SetEditText(int32_t ACol, int32_t ARow, const String& Value);
  virtual String GetEditMask(int32_t ACol, int32_t ARow);
  /// Longest text the editor takes; 0 means no limit.
  virtual int32_t GetEditLimit();
  virtual void ColumnMoved(int32_t FromIndex, int32_t ToIndex);
  virtual void RowMoved(int32_t FromIndex, int32_t ToIndex);
  virtual void SizeChanged(int32_t OldColCount, int32_t OldRowCount);
  /// Called after FixedRows has changed (the row count stays as it was).
  virtual void FixedRowsChanged();
  virtual void TopLeftChanged();
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();

  // --- operations for descendants ------------------------------------------------------
  /// Moves a column (row) with its width (height) to another place; raises ColumnMoved.
  void MoveColumn(int32_t FromIndex, int32_t ToIndex);
  void MoveRow(int32_t FromIndex, int32_t ToIndex);
  void DeleteColumn(int32_t ACol);
  void DeleteRow(int32_t ARow);
  /// Makes a cell current and shows it; MoveAnchor false extends the selection.
  void FocusCell(int32_t ACol, int32_t ARow, bool MoveAnchor);
  /// Scrolls so that the given cell is the top-left scrolled one (kept in range).
  void MoveTopLeft(int32_t ALeft, int32_t ATop);
  /// Whether the base stores ColWidths and RowHeights in form files; default true. A
  /// descendant that stores the widths itself clears it.
  bool SaveCellExtents() const { return FSaveCellExtents; }
  void SetSaveCellExtents(bool Value) { FSaveCellExtents = Value; }
  /// What a mouse drag is doing.
  TGridState GridState() const { return FGridState; }

  // --- control overrides ---------------------------------------------------------------
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  /// A row coming into view and a thumb that moved are painted apart.
  bool PaintsInParts() const override { return true; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void BoundsChanged(bool Moved, bool Sized) override;
  void DoEnter() override;
  void WMMouseWheel(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  /// Raises "Grid index out of range" unless 0 <= index < count.
  static void CheckIndex(int32_t Index, int32_t Count);
  void ChangeSize(int32_t NewColCount, int32_t NewRowCount);
  void ChangeGridOrientation();
  void ApplyLineWidths();
  /// Recomputes the view size, the scroll bars and the scroll limits.
  void UpdateGeometry();
  void MoveCurrent(int32_t ACol, int32_t ARow, bool MoveAnchor, bool Show);
  void ScrollToShow(TGridCoord Cell);
  /// Shows the cells after the top-left cell moved from OldTopLeft: the pixels of what
  /// stays in view move along, and only what comes into view is painted.
  void ScrollCells(TGridCoord OldTopLeft);
  /// The client rectangle covering the visible part of a block of cells.
  TRect BoxRect(const TGridRect& Box) const;
  void InvalidateBox(const TGridRect& Box);
  TRect ViewRect() const;
  // Editor.
  void UpdateEdit();
  /// Hands the open editor's text to SetEditText.
  void UpdateText();
  /// Closes the open editor, committing its text first when asked.
  void HideEdit(bool Commit);
  /// Puts the editor over its cell, or out of sight while the cell is scrolled away.
  void PlaceEditor();
  void CancelEdit();
  // Form storage.
  void ReadExtents(TReader* Reader, bool Cols);
  void WriteExtents(TWriter* Writer, bool Cols) const;
  bool EditorShowing() const;
  // Mouse.
  bool ScrollBarMouseDown(TPoint P);
  void ScrollBarMouseMove(TPoint P);
  void ScrollBarMouseUp();
  void ScrollByPart(const TGridScrollBar& Bar, TScrollBarPart Part);
  /// Extends a selecting drag to the cell nearest P, scrolling when P is past an edge.
  void SelectTowards(TPoint P);
  /// Ends any drag and its timers without finishing it.
  void StopDrag();
  void WMTimer(TMessage& Message);
  // Painting.
  void PaintCells(TCanvas* ACanvas, const TRect& Clip);
  void PaintDragMarker(TCanvas* ACanvas);
  static void RaisedEdge(TCanvas* ACanvas, const TRect& R, const TRect& Clip);

  TGridLayout FLayout;
  int32_t FGridLineWidth = 1;
  TGridOptions FOptions;
  TColor FFixedColor;
  bool FDefaultDrawing = true;
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  bool FSaveCellExtents = true;

  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};

  // The editor and the cell it edits (-1 while closed).
  TInplaceEdit* FInplaceEdit = nullptr;
  bool FEditorMode = false;
  int32_t FInplaceCol = -1;
  int32_t FInplaceRow = -1;
  String FEditLoadedText;

  // Mouse drags.
  TGridState FGridState = gsNormal;
  int32_t FSizingIndex = -1;
  int32_t FSizingOffset = 0;
  int32_t FMoveIndex = -1;
  int32_t FMovePos = -1;

  // Scroll bars.
  TGridScrollBar FVertBar{sbVertical};
  TGridScrollBar FHorzBar{sbHorizontal};
  TGridScrollBar* FScrollBarDown = nullptr;  // the bar a press went to
  TScrollBarPart FScrollPart = spNone;
  int32_t FThumbGrab = 0;      // where in the thumb it was taken, in pixels
  int32_t FThumbDragPos = -1;  // a dragged thumb's position before it is applied
  int32_t FWheelDelta = 0;     // wheel movement not yet worth a row
  TPoint FLastMouse;           // where the mouse was last seen during a drag
};

}  // namespace bw
