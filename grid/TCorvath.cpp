#include "grid/TCorvath.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "editor/TEditButton.h"
#include "editor/TGridEditProperties.h"
#include "editor/TInplaceComboEdit.h"
#include "grid/ModuleResources.h"
#include "grid/TGridOutlineProperties.h"
#include "grid/TInGridOutline.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TControl.h"
#include "platform/controls/WinApi.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TBrush.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TPen.h"
#include "platform/grids/EInvalidGridOperation.h"
#include "platform/outline/TOutlineNode.h"

namespace bw {

namespace {

// Form files that hold a TCorvath read without the application registering it, as those
// holding the platform's own controls do; Register only puts it on the palette.
[[maybe_unused]] const bool kRegistered = [] {
  RegisterClass<TCorvath>();
  return true;
}();

// Picture indexes of the hidden outline.
constexpr int32_t kPicturePlus = 0;
constexpr int32_t kPictureMinus = 1;
constexpr int32_t kPictureOpen = 2;
constexpr int32_t kPictureClosed = 3;
constexpr int32_t kPictureLeaf = 4;

constexpr const char* kDefaultPictures[] = {"KEMBITMAP_OPEN", "KEMBITMAP_CLOSED", "KEMBITMAP_LEAF"};

// Copies picture P to Dest, its transparent colour left to the brush, cut to the rows of
// Cell: a picture taller than its row stays inside the cell, as what reached past it would
// stay on the lines and the neighbouring rows when the cell alone is painted again.
void CopyPictureInRow(TCanvas* C, const TRect& Dest, TBitmap* P, const TRect& Cell) {
  const int32_t Skip = std::max(Cell.Top - Dest.Top, 0);
  const int32_t Shown = std::min(Dest.Bottom, Cell.Bottom) - Dest.Top;
  if (Shown <= Skip) return;
  C->BrushCopy(TRect{Dest.Left, Dest.Top + Skip, Dest.Right, Dest.Top + Shown}, P,
               TRect{0, Skip, Dest.Right - Dest.Left, Shown}, P->TransparentColor());
}

template <int32_t Index>
TBitmap* PictureOf(TCorvath* G) {
  return G->GetPicture(Index);
}
template <int32_t Index>
void SetPictureOf(TCorvath* G, TBitmap* B) {
  G->SetPicture(Index, B);
}

}  // namespace

BW_PUBLISHED(TCorvath) {
  P.Property(
      "OnButtonClick", [](TCorvath* G) -> const TEditButtonClickEvent& { return G->OnButtonClick; },
      [](TCorvath* G, const TEditButtonClickEvent& E) { G->OnButtonClick = E; });
  P.Property(
      "OnEditAcceptKey",
      [](TCorvath* G) -> const TEditAcceptKeyEvent& { return G->OnEditAcceptKey; },
      [](TCorvath* G, const TEditAcceptKeyEvent& E) { G->OnEditAcceptKey = E; });
  P.Property("PicturePlus", &PictureOf<0>, &SetPictureOf<0>);
  P.Property("PictureMinus", &PictureOf<1>, &SetPictureOf<1>);
  P.Property("PictureOpen", &PictureOf<2>, &SetPictureOf<2>);
  P.Property("PictureClosed", &PictureOf<3>, &SetPictureOf<3>);
  P.Property("PictureLeaf", &PictureOf<4>, &SetPictureOf<4>);
  P.Property("Editor", &TCorvath::Editor);
  P.Property("Outline", &TCorvath::Outline);
  // A tree column cut off by a later, smaller ColCount is not stored: the form would
  // not read back.
  P.Property("OutlineCol", &TCorvath::OutlineCol, &TCorvath::SetOutlineCol).Stored([](TCorvath* G) {
    return G->OutlineCol() < G->ColCount();
  });
  P.Property("TreeOptions", &TCorvath::TreeOptions, &TCorvath::SetTreeOptions,
             {"toKeyboard", "toExpanders", "toTypeAhead", "toKeepState"})
      .Default(TTreeOptions{});
}

// ---- construction and form storage ----------------------------------------------------

TCorvath::TCorvath(TComponent* AOwner) : TDrawGrid(AOwner) {
  // Column widths go to the form as "ColWidths" (DefineProperties); row heights follow
  // the rows, which are rebuilt from the outline, so they are not stored at all.
  SetSaveCellExtents(false);
  FEditorProps = std::make_unique<TGridEditProperties>();

  FHiddenOutline = new TInGridOutline(this);
  FHiddenOutline->SetParent(this);
  FHiddenOutline->SetVisible(false);
  FHiddenOutline->SetBounds(-400, -400, FHiddenOutline->Width(), FHiddenOutline->Height());
  FHiddenOutline->OnChange = TNotifyEvent([this](TObject* Sender) { ExpandCollapse(Sender); });
  FHiddenOutline->OnItemsChanged = TNotifyEvent([this](TObject*) { ItemsChanged(); });

  // A picture whose resource is missing stays empty.
  for (int32_t i = 0; i < 3; ++i) {
    if (HBITMAP Handle = LoadBitmap(HInstance(), kDefaultPictures[i]))
      FHiddenOutline->GetPicture(kPictureOpen + i)->SetHandle(Handle);
  }

  FOutlineProps = std::make_unique<TGridOutlineProperties>();
  FOutlineProps->FHiddenOutline = FHiddenOutline;
  FOutlineProps->FGrid = this;
  SetColWidths(0, 200);
}

TCorvath::~TCorvath() {
  FOutlineProps.reset();
  FEditorProps.reset();
  FRowMap.Clear();
  // The hidden outline outlives this body (its owner frees it later); it must not reach
  // back into the parts of the grid that are gone by then.
  FHiddenOutline->OnChange.Clear();
  FHiddenOutline->OnItemsChanged.Clear();
}

void TCorvath::Loaded() {
  inherited::Loaded();
  SyncOutline();
}

void TCorvath::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  inherited::GetChildren(
      [&](TComponent* Child) {
        if (Child != FHiddenOutline) Proc(Child);
      },
      Root);
}

void TCorvath::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "ColWidths", [this](TReader* Reader) { ReadColWidths(Reader); },
      [this](TWriter* Writer) { WriteColWidths(Writer); }, true);
}

void TCorvath::ReadColWidths(TReader* Reader) {
  // Read the whole list before applying it, so a damaged list changes no width. Memory
  // goes to the entries that are there, not to the columns a damaged form may claim.
  const size_t Count = size_t(std::max(ColCount(), 0));
  std::vector<int32_t> Widths;
  Reader->ReadListBegin();
  while (Widths.size() < Count && !Reader->EndOfList())
    Widths.push_back(Reader->ReadInteger());
  // A short list fails as reading past its end does, a long one at its end.
  if (Widths.size() < Count) Reader->ReadInteger();
  Reader->ReadListEnd();
  for (int32_t i = 0; i < int32_t(Widths.size()); ++i)
    SetColWidths(i, Widths[size_t(i)]);
}

void TCorvath::WriteColWidths(TWriter* Writer) {
  Writer->WriteListBegin();
  for (int32_t i = 0; i < ColCount(); ++i)
    Writer->WriteInteger(GetColWidths(i));
  Writer->WriteListEnd();
}

// ---- row map ---------------------------------------------------------------------------

void TCorvath::SyncOutline() {
  RowContentsChanged();
  if (FSettingRowCount) {
    // Nested in this grid's own change of the row count: the map is complete and the
    // count already set to match it.
    SetRowCount(FixedRows() + std::max<int32_t>(FRowMap.Size(), 1));
    Invalidate();
    return;
  }
  NoteEditedItem();
  TOutlineNode* const Edited = FEditedRow == Row() ? Resolve(FEditedItem) : nullptr;
  const int32_t EditedData = FEditedData;
  // The shown items in display order: an item is shown when every ancestor is expanded.
  // After nothing but a few expansions and collapses only their branches are redone.
  FRowMap.Sync(FHiddenOutline->Tree());
  {
    // An empty outline keeps one blank row. A new count comes back through SizeChanged.
    FSettingRowCount = true;
    struct Reset {
      bool& Flag;
      ~Reset() { Flag = false; }
    } reset{FSettingRowCount};
    SetRowCount(FixedRows() + std::max<int32_t>(FRowMap.Size(), 1));
  }
  FMapCurrent = true;
  Invalidate();
  // An open editor keeps what is being typed while its row shows the item it was typed
  // for, kept under the same data row. When another item has come there, or the item now
  // stands for another data row (an item added or deleted above it, hidden or not), it
  // takes up the text of the cell now under it, so that what it held is never stored in
  // a cell it was not loaded from.
  if (!Edited || RowToOutline(Row()) != Edited || ShownOn(Row()) != EditedData) InvalidateEditor();
  NoteEditedItem();
}

void TCorvath::ItemsChanged() {
  FMapCurrent = false;
}

void TCorvath::NoteEditedItem() {
  if (!FMapCurrent || FHiddenOutline->Updating()) return;
  FEditedRow = Row();
  FEditedItem = RefTo(RowToOutline(FEditedRow));
  FEditedData = ShownOn(FEditedRow);
}

TCorvath::TItemRef TCorvath::RefTo(TOutlineNode* Node) const {
  return TItemRef{Node, FHiddenOutline->Tree().NodesReleased()};
}

TOutlineNode* TCorvath::Resolve(const TItemRef& Ref) const {
  return Ref.Released == FHiddenOutline->Tree().NodesReleased() ? Ref.Node : nullptr;
}

TOutlineNode* TCorvath::RowToOutline(int32_t ARow) const {
  const int64_t k = int64_t(ARow) - FixedRows();
  if (k < 0 || k >= FRowMap.Size()) return nullptr;
  const int32_t Index = FRowMap.At(int32_t(k));
  // A stale entry may point past the items that are left.
  if (Index < 1 || Index > FHiddenOutline->ItemCount()) return nullptr;
  // Read the handle straight from the item array; only an item never asked for before
  // needs Get to make its handle.
  TOutlineNode* Node = FHiddenOutline->Tree().Node(Index);
  return Node ? Node : FHiddenOutline->Get(Index);
}

int32_t TCorvath::RowToOutlineRow(int32_t ARow) const {
  if (ARow < FixedRows()) return ARow;
  const int64_t k = int64_t(ARow) - FixedRows();
  if (k >= FRowMap.Size()) throw EListError(SListIndexError);
  const int32_t Index = FRowMap.At(int32_t(k));
  if (Index > FHiddenOutline->ItemCount()) return -1;
  return FixedRows() + Index - 1;
}

int32_t TCorvath::ShownOn(int32_t V) const {
  // A row past the map (one not yet rebuilt) shows nothing, as a row whose item went.
  if (V >= FixedRows() && int64_t(V) - FixedRows() >= FRowMap.Size()) return INT32_MAX;
  const int32_t D = RowToOutlineRow(V);
  return D < 0 ? INT32_MAX : D;
}

int32_t TCorvath::FindShownRow(int32_t ARow, int32_t First, int32_t Last) const {
  // Shown items come in outline order, so the rows are searched by halves for the first
  // that shows ARow or a later data row.
  if (First > Last) return -1;
  int32_t Lo = First, Hi = Last;
  while (Lo < Hi) {
    const int32_t Mid = Lo + (Hi - Lo) / 2;
    if (ShownOn(Mid) < ARow)
      Lo = Mid + 1;
    else
      Hi = Mid;
  }
  return ShownOn(Lo) == ARow ? Lo : -1;
}

void TCorvath::ExpandCollapse(TObject* /*Sender*/) {
  SyncOutline();
}

// ---- painting of the outline column -----------------------------------------------------

TBitmap* TCorvath::GetPicture(int32_t Index) const {
  if (Index < kPicturePlus || Index > kPictureLeaf) return nullptr;
  return FHiddenOutline->GetPicture(Index);
}

void TCorvath::SetPicture(int32_t Index, TBitmap* Value) {
  if (Index < kPicturePlus || Index > kPictureLeaf) return;
  FHiddenOutline->SetPicture(Index, Value);
}

void TCorvath::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  if (ACol != FOutlineColIndex || ARow < FixedRows()) {
    inherited::DrawCell(ACol, ARow, ARect, AState);
    return;
  }
  TOutlineNode* Node = RowToOutline(ARow);
  if (!Node) return;

  TRect R = ARect;
  const bool Expanders = FTreeOptions.Contains(toExpanders);
  // The boxes of top-level items take a step of their own, left of the tree.
  if (Expanders) R.Left += DefaultRowHeight();
  DrawTreeLines(R, Node);
  if (Expanders) DrawExpander(R, Node);
  R.Left += (Node->Level() - 1) * DefaultRowHeight();

  const int32_t Index =
      Node->HasChildren() ? (Node->Expanded() ? kPictureOpen : kPictureClosed) : kPictureLeaf;
  TBitmap* const Pictures[1] = {GetPicture(Index)};
  DrawPictures(Pictures, R);

  R.Left += Pictures[0]->Width() + 8;
  Canvas()->TextOut(R.Left, R.Top + 4, Node->Text());
}

void TCorvath::DrawTreeLines(const TRect& R, TOutlineNode* Node) {
  TCanvas* C = Canvas();
  // The cell's pen comes back whatever happens below.
  struct PenGuard {
    TCanvas* Canvas;
    TPen Saved;
    explicit PenGuard(TCanvas* ACanvas) : Canvas(ACanvas) { Saved.Assign(ACanvas->Pen()); }
    ~PenGuard() { Canvas->Pen()->Assign(&Saved); }
  } Guard(C);
  C->Pen()->SetColor(TColor(0));
  C->Pen()->SetWidth(1);

  const int32_t H = DefaultRowHeight();
  const int32_t h2 = H / 2;

  // An ancestor of level 2 or more that has a later sibling continues its line through
  // this row; top-level ancestors have no line.
  for (TOutlineNode* A = Node->Parent(); A->Parent() && A->Parent()->Parent(); A = A->Parent()) {
    if (A->Parent()->GetNextChild(A->Index()) != -1) {
      const int32_t x = R.Left + (A->Level() - 2) * H + h2;
      C->MoveTo(x, R.Top);
      C->LineTo(x, R.Bottom);
    }
  }

  const int32_t n = Node->Level();
  if (n > 1) {
    // The last child's line ends where it turns towards the item.
    const bool Last = Node->Parent()->GetNextChild(Node->Index()) == -1;
    const int32_t yEnd = Last ? R.Top + h2 : R.Bottom;
    const int32_t x = R.Left + (n - 2) * H + h2;
    C->MoveTo(x, R.Top);
    C->LineTo(x, yEnd);
    C->MoveTo(x, R.Top + h2);
    C->LineTo(x + C->Font()->Size(), R.Top + h2);
  }
}

void TCorvath::DrawExpander(const TRect& R, TOutlineNode* Node) {
  if (!Node->HasChildren()) return;
  TBitmap* Box = GetPicture(Node->Expanded() ? kPictureMinus : kPicturePlus);
  if (Box->Empty()) return;
  const int32_t H = DefaultRowHeight();
  const int32_t W = Box->Width();
  const int32_t BoxH = Box->Height();
  // Centred where the item's own line meets the line towards its picture.
  const int32_t X = R.Left + (Node->Level() - 2) * H + H / 2 - W / 2;
  const int32_t Y = R.Top + H / 2 - BoxH / 2;
  // Its transparent colour lets the lines show through; the cell's brush comes back.
  TCanvas* C = Canvas();
  struct StyleGuard {
    TBrush* Brush;
    TBrushStyle Saved;
    ~StyleGuard() { Brush->SetStyle(Saved); }
  } Guard{C->Brush(), C->Brush()->Style()};
  C->Brush()->SetStyle(bsClear);
  CopyPictureInRow(C, TRect{X, Y, X + W, Y + BoxH}, Box, R);
}

TOutlineNode* TCorvath::ExpanderAt(int32_t X, int32_t Y) const {
  if (!FTreeOptions.Contains(toExpanders)) return nullptr;
  const TGridCoord Cell = MouseCoord(X, Y);
  if (Cell.X != FOutlineColIndex) return nullptr;
  TOutlineNode* Node = RowToOutline(Cell.Y);
  if (!Node || !Node->HasChildren()) return nullptr;
  // The whole step of the box answers, the height of the row.
  const int32_t H = DefaultRowHeight();
  const int32_t Left = CellRect(Cell.X, Cell.Y).Left + (Node->Level() - 1) * H;
  return X >= Left && X < Left + H ? Node : nullptr;
}

void TCorvath::DrawPictures(std::span<TBitmap* const> Pictures, const TRect& ARect) {
  if (Pictures.empty() || !Pictures[0]) return;
  const int32_t H = DefaultRowHeight();
  const int32_t H0 = Pictures[0]->Height();
  const int32_t Off = (H - H0) / 2;  // negative for a picture taller than H
  int32_t Top = ARect.Top + Off;
  int32_t Bottom = Top + H0;
  for (size_t i = 0; i < Pictures.size(); ++i) {
    TBitmap* P = Pictures[i];
    if (!P) continue;
    const int32_t Left = ARect.Left + int32_t(i) * H + Off;
    const int32_t Right = Left + P->Width();
    Bottom = std::min(Bottom, Top + P->Height());
    // A font taller than the picture centres it in the row again.
    const int32_t V = (Font()->Size() - (Bottom - Top)) / 2;
    if (V > 0) {
      const int32_t h = Bottom - Top;
      Top = ARect.Top + (H - h) / 2;
      Bottom = Top + h;
    }
    CopyPictureInRow(Canvas(), TRect{Left, Top, Right, Bottom}, P, ARect);
  }
}

// ---- interaction -------------------------------------------------------------------------

// Each handler of the grid's own may free it: nothing of the grid is touched after one has
// run unless the watch says it is still there.

void TCorvath::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  FDownOnExpander = Button == mbLeft && !ComponentState().Contains(csDesigning) && ExpanderAt(X, Y);
  if (FDownOnExpander) {
    PressExpander(Button, Shift, X, Y);
    return;
  }
  const bool Double = Shift.Contains(ssDouble);
  // Before the grid's own handling, which may scroll the pressed row into view.
  if (Button == mbLeft && !Double) {
    FFirstPress = RefTo(ItemAt(X, Y));
    FFirstPressNoted = true;
  }
  TControlWatch Watch(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (!Watch.Alive()) return;
  FDownX = X;
  FDownY = Y;
  FDownDouble = Button == mbLeft && Double;
}

void TCorvath::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch Watch(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (!Watch.Alive()) return;
  if (X != FDownX || Y != FDownY || FDownOnExpander) return;
  int32_t ACol = -1;
  int32_t ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  // Only a row that can be current: a click on a fixed row or below the last row of the
  // outline column selects nothing.
  if (ACol == FOutlineColIndex && ARow >= FixedRows() && ARow < RowCount()) SetRow(ARow);
}

void TCorvath::DblClick() {
  // Only a double press on the grid itself says where the double-click was.
  const bool OnGrid = std::exchange(FDownDouble, false);
  const bool FirstPressNoted = std::exchange(FFirstPressNoted, false);
  if (OnGrid && !ComponentState().Contains(csDesigning)) {
    // The first press may have scrolled its row into view, which puts another item under
    // the second: the double-click is on the item the first press was on.
    const TItemRef Target = FirstPressNoted ? FFirstPress : RefTo(ItemAt(FDownX, FDownY));
    if (Resolve(Target)) {
      TControlWatch Watch(this);
      // What was typed goes to its cell while the rows are still those it was typed on.
      HideEditor();
      if (!Watch.Alive()) return;
      if (TOutlineNode* Node = Resolve(Target)) ToggleItem(Node);
      if (!Watch.Alive()) return;
    }
  }
  inherited::DblClick();
}

TOutlineNode* TCorvath::ItemAt(int32_t X, int32_t Y) const {
  int32_t ACol = -1;
  int32_t ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  return ACol == FOutlineColIndex ? RowToOutline(ARow) : nullptr;
}

void TCorvath::ToggleItem(TOutlineNode* Node) {
  TControlWatch Watch(this);
  try {
    Node->SetExpandedState(!Node->Expanded());
  } catch (...) {
    // OnExpand and OnCollapse run after the item has changed: the rows follow it before
    // the handler's error goes on, which a second failure here does not replace.
    try {
      if (Watch.Alive()) SyncOutline();
    } catch (...) {
    }
    throw;
  }
  if (Watch.Alive()) SyncOutline();
}

void TCorvath::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  inherited::ColumnMoved(FromIndex, ToIndex);
  int32_t& C = FOutlineColIndex;
  if (C == FromIndex)
    C = ToIndex;
  else if (FromIndex < ToIndex && C > FromIndex && C <= ToIndex)
    --C;
  else if (FromIndex > ToIndex && C >= ToIndex && C < FromIndex)
    ++C;
}

void TCorvath::SizeChanged(int32_t /*OldColCount*/, int32_t /*OldRowCount*/) {
  // While a form is read the stored counts stand until Loaded builds the rows: snapping
  // RowCount back to the items read so far would refuse the stored FixedRows that follows.
  if (ComponentState().Contains(csLoading)) return;
  SyncOutline();
}

void TCorvath::FixedRowsChanged() {
  // The rows below the fixed ones show the items: their count follows the new boundary.
  if (ComponentState().Contains(csLoading)) return;
  SyncOutline();
}

bool TCorvath::CanEditAcceptKey(Char Key) {
  bool Accept = true;
  if (OnEditAcceptKey) OnEditAcceptKey(this, Key, Accept);
  return Accept;
}

bool TCorvath::CanEditShow() {
  return inherited::CanEditShow() && Col() != FOutlineColIndex;
}

void TCorvath::SetOutlineCol(int32_t Value) {
  if (Value > ColCount() - 1 || Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  // No early return for an unchanged value: setting it is also how a caller repaints the
  // tree at once.
  const int32_t Old = FOutlineColIndex;
  FOutlineColIndex = Value;
  if (Value == Col() && EditorMode()) {
    // The tree cell is never edited in place. Asking for the editor again finds it refused
    // there, so it closes and stores its text, as when the current cell moves onto a tree
    // cell; a text that cannot be stored keeps it open, over the old tree column.
    try {
      ShowEditor();
    } catch (...) {
      FOutlineColIndex = Old;
      throw;
    }
  }
  Refresh();
}

TInplaceEdit* TCorvath::CreateEditor() {
  // A failure while copying the glyph leaves no half-made editor behind.
  auto editor = std::make_unique<TInplaceComboEdit>(this);
  if (FEditorProps->GetBitmap()->Empty())
    editor->SetGlyphKind(gkEllipsis);  // drawn for the new editor's 15-pixel button
  else
    editor->SetGlyph(FEditorProps->GetBitmap());
  editor->SetGrid(this);
  // Straight on the button: the dots keep their layout, and the holder and text area
  // take the width when the grid sizes the editor to its cell.
  editor->Button()->SetWidth(FEditorProps->ButtonWidth());
  return editor.release();
}

bool TCorvath::EditButtonClick(TObject* Editor, String& EditText) {
  if (!OnButtonClick) return false;
  OnButtonClick(Editor, Col(), RowToOutlineRow(Row()), EditText);
  return true;
}

// ---- tree options --------------------------------------------------------------------

void TCorvath::SetTreeOptions(TTreeOptions Value) {
  if (Value == FTreeOptions) return;
  FTreeOptions = Value;
  FHiddenOutline->SetKeepExpanded(Value.Contains(toKeepState));
  FTypeAhead.Clear();
  Invalidate();
}

void TCorvath::PressExpander(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  // A box opens or closes its item and moves no cell, so the grid base's press handling,
  // which would select the pressed row, is left out; the focus and OnMouseDown are not.
  // Each press toggles, the second one of a double-click too, and the double-click that
  // follows toggles nothing more.
  TControlWatch Watch(this);
  if (CanFocus() && !Focused() && !(InplaceEditor() && InplaceEditor()->Focused())) SetFocus();
  if (!Watch.Alive()) return;
  FDownX = X;
  FDownY = Y;
  FDownDouble = false;
  // What was typed goes to its cell while the rows are still those it was typed on.
  HideEditor();
  if (!Watch.Alive()) return;
  if (TOutlineNode* Node = ExpanderAt(X, Y)) {
    const int32_t Current = RowToOutlineRow(Row()) - FixedRows() + 1;
    ToggleItem(Node);
    if (!Watch.Alive()) return;
    // The current item stays current: on its new row, or on the closed branch that now
    // holds it.
    if (Current >= 1 && Current <= FHiddenOutline->ItemCount()) {
      const int32_t R = RowOfItem(FHiddenOutline->ShownItem(Current));
      if (R >= 0 && R != Row()) SetRow(R);
      if (!Watch.Alive()) return;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCorvath::ExpandBranch(TOutlineNode* Node) {
  TControlWatch Watch(this);
  const int32_t First = Node->Index();
  const TOutlineTree& Tree = FHiddenOutline->Tree();
  try {
    // One by one, so that each opened item raises OnExpand; a handler that changes the
    // items ends the walk where they run out.
    for (int32_t p = First; First <= FHiddenOutline->ItemCount() && p < Tree.End(First) &&
                            p <= FHiddenOutline->ItemCount();
         ++p) {
      if (Tree.Size(p) > 1 && !Tree.Expanded(p)) FHiddenOutline->Get(p)->Expand();
      if (!Watch.Alive()) return;
    }
  } catch (...) {
    try {
      if (Watch.Alive()) SyncOutline();
    } catch (...) {
    }
    throw;
  }
  SyncOutline();
}

void TCorvath::ShowBranch(TOutlineNode* Node) {
  if (!Node || !Node->Expanded()) return;
  const int32_t Index = Node->Index();
  const int32_t First = RowOfItem(Index);
  if (First < 0) return;
  // The item after the branch in outline order is shown whenever the branch's own item
  // is: its parent is one of the branch item's ancestors, all open.
  const int32_t After = RowOfItem(FHiddenOutline->Tree().End(Index));
  const int32_t Last = After > First ? After - 1 : RowCount() - 1;
  if (Last <= First) return;
  const TGridLayout& L = Layout();
  const int32_t Top = L.TopLeftToShow({-1, First}, L.TopLeftToShow({-1, Last}, L.TopLeft())).Y;
  if (Top != TopRow()) SetTopRow(Top);
}

int32_t TCorvath::RowOfItem(int32_t Index) const {
  if (Index < 1 || Index > FHiddenOutline->ItemCount()) return -1;
  return FindShownRow(FixedRows() + Index - 1, FixedRows(), RowCount() - 1);
}

TOutlineNode* TCorvath::KeyedItem() const {
  if (Col() != FOutlineColIndex && !Options().Contains(goRowSelect)) return nullptr;
  return RowToOutline(Row());
}

TCorvath::TTreeStep TCorvath::TreeStepFor(uint16_t Key, TShiftState Shift) const {
  if (!FTreeOptions.Contains(toKeyboard) || (Key != VK_RIGHT && Key != VK_LEFT))
    return TTreeStep::None;
  // With a modifier the arrows keep the grid's meaning (page moves, extending a range).
  if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt))
    return TTreeStep::None;
  TOutlineNode* Node = KeyedItem();
  if (!Node) return TTreeStep::None;
  const bool Open = Node->HasChildren() && Node->Expanded();
  // A leaf, and a closed top-level item, leave the arrows to the grid, which moves to the
  // next column: so the keyboard can still leave the tree column.
  if (Key == VK_RIGHT)
    return !Node->HasChildren() ? TTreeStep::None
           : Open               ? TTreeStep::ToFirstChild
                                : TTreeStep::Expand;
  return Open ? TTreeStep::Collapse : Node->Level() > 1 ? TTreeStep::ToParent : TTreeStep::None;
}

TCorvath::TTreeStep TCorvath::TreeStepFor(Char Key) const {
  if (!FTreeOptions.Contains(toKeyboard) || !KeyedItem()) return TTreeStep::None;
  switch (Key) {
    case U'+':
      return TTreeStep::Expand;
    case U'-':
      return TTreeStep::Collapse;
    case U'*':
      return TTreeStep::ExpandAll;
    default:
      return TTreeStep::None;
  }
}

bool TCorvath::TakesChar(Char Key) const {
  if (TreeStepFor(Key) != TTreeStep::None) return true;
  if (!FTreeOptions.Contains(toTypeAhead) || !KeyedItem()) return false;
  return Key == 8 ? !FTypeAhead.Empty() : Key >= 32 && Key != 127;
}

void TCorvath::TakeTreeStep(TTreeStep Step) {
  TOutlineNode* Node = KeyedItem();
  if (!Node) return;
  const bool Branch = Node->HasChildren();
  // OnExpand may free the grid or change the items; what it leaves is shown.
  TControlWatch Watch(this);
  const TItemRef Opened = RefTo(Node);
  switch (Step) {
    case TTreeStep::Expand:
      if (!Branch || Node->Expanded()) break;
      ToggleItem(Node);
      if (Watch.Alive()) ShowBranch(Resolve(Opened));
      break;
    case TTreeStep::Collapse:
      if (Branch && Node->Expanded()) ToggleItem(Node);
      break;
    case TTreeStep::ExpandAll:
      if (Branch) ExpandBranch(Node);
      if (Branch && Watch.Alive()) ShowBranch(Resolve(Opened));
      break;
    case TTreeStep::ToFirstChild:
      SetRow(Row() + 1);
      break;
    case TTreeStep::ToParent:
      if (const int32_t R = RowOfItem(Node->Parent()->Index()); R >= 0) SetRow(R);
      break;
    case TTreeStep::None:
      break;
  }
}

void TCorvath::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (TreeStepFor(Key, Shift) == TTreeStep::None) {
    inherited::KeyDown(Key, Shift);
    return;
  }
  // The tree's keys replace the grid's own handling of them; OnKeyDown still sees them
  // first and may take them.
  TControlWatch Watch(this);
  TWinControl::KeyDown(Key, Shift);
  if (!Watch.Alive() || Key == 0) return;
  const TTreeStep Step = TreeStepFor(Key, Shift);
  Key = 0;
  TakeTreeStep(Step);
}

void TCorvath::KeyPress(Char& Key) {
  if (!TakesChar(Key)) {
    inherited::KeyPress(Key);
    return;
  }
  // As with the keys: OnKeyPress first, and the grid base never sees these characters,
  // so none of them opens the editor.
  TControlWatch Watch(this);
  TWinControl::KeyPress(Key);
  if (!Watch.Alive() || Key == 0 || !TakesChar(Key)) return;
  const Char C = std::exchange(Key, 0);
  if (const TTreeStep Step = TreeStepFor(C); Step != TTreeStep::None)
    TakeTreeStep(Step);
  else if (C == 8)
    FTypeAhead.Shorten(GetTickCount());
  else
    FindTyped(FTypeAhead.Add(C, GetTickCount()));
}

void TCorvath::FindTyped(bool Fresh) {
  const int32_t First = FixedRows();
  const int32_t Count = RowCount() - First;
  if (FHiddenOutline->ItemCount() == 0 || Count <= 0) return;
  // A new prefix looks from the row below, so that typing one letter again steps through
  // the items it begins; a longer one may still fit the current item.
  const int32_t From = Row() - First + (Fresh ? 1 : 0);
  const TOutlineTree& Tree = FHiddenOutline->Tree();
  for (int32_t i = 0; i < Count; ++i) {
    const int32_t R = First + (From + i) % Count;
    const int32_t Index = RowToOutlineRow(R) - First + 1;
    if (Index < 1 || Index > FHiddenOutline->ItemCount()) continue;
    if (FTypeAhead.Matches(Tree.Text(Index))) {
      if (R != Row()) SetRow(R);
      return;
    }
  }
}

}  // namespace bw
