#pragma once
// The cells of a TVelloran: a text and an object reference per cell, by column and data
// row. Only cells holding a text or an object take room.
//
// Representation, chosen for its costs: data rows are grouped sixteen to a page; a page
// is one heap block holding its cells sorted by row and column, each cell 28 bytes (a
// TCellText with up to 15 characters in place, the object, the column, see TCellPage),
// with the start of each row's run in the page's head. Reading a cell is a directory
// lookup, the page head and the text itself; overwriting a text allocates nothing; an
// empty page costs nothing and a sparse grid pays about the size of its cells. Emptying
// gives the room back: a page whose cells fill less than half of it shrinks, and one left
// without cells or listed rows is freed, so a grid that was full costs, once emptied, what
// one never filled costs (which rows exist is kept apart, two bytes a page).
//
// A data row whose list is asked for (TVelloran::EnsureDataRow) leaves the page for a
// TStringSparseList of its own, which then holds that row's cells and serves every read
// and write of them: a handed-out list is the store of its row, never a copy. A row that
// grows past kMaxPackedRow cells leaves the same way, so that inserting into a page never
// moves more than a bounded number of cells.
//
// Through SetText and SetObject a packed cell exists exactly while it holds a text or an
// object. A data row "exists" once a text or an object has been written to it (or its list
// was asked for): reading a row that never existed gives empty cells without looking at
// the column, as a missing list would.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/Types.h"
#include "sparse/TSparsePointerArray.h"
#include "stringgrid/TCellPage.h"

namespace bw {

class TObject;
class TSparseList;
class TStringSparseList;

class TCellStore {
 public:
  /// RowQuantum sets the highest data row that can hold cells, as for a sparse list.
  explicit TCellStore(TSparseQuantum RowQuantum);
  /// Frees the cells and the rows' lists; the objects are the caller's.
  ~TCellStore();
  TCellStore(const TCellStore&) = delete;
  TCellStore& operator=(const TCellStore&) = delete;

  /// The highest data row that can hold cells.
  int32_t MaxRow() const;

  // ---- cells ----
  // A negative row, or a negative column of an existing row, raises EListError. Writes
  // take ColQuantum as a new row list would: it sets the highest column a row can hold.
  String Text(int32_t ACol, int32_t ARow) const {
    // A row in its page and a column not negative are answered here, in the caller;
    // a negative row lands far past the pages.
    const size_t P = TCellPage::IndexOf(ARow);
    if (P < FPages.size() && ACol >= 0) {
      const TCellPage* Page = FPages[P];
      if (!Page) return String();
      if (!(Page->Listed & TCellPage::RowBit(ARow))) {
        if (const TCellText* Text = Page->FindText(TCellPage::RowOf(ARow), ACol))
          return Text->ToString();
        return String();
      }
    }
    return TextElsewhere(ACol, ARow);
  }
  TObject* Object(int32_t ACol, int32_t ARow) const;
  /// The empty text on a cell without an object removes the cell.
  void SetText(int32_t ACol, int32_t ARow, const String& Value, TSparseQuantum ColQuantum) {
    // Overwriting a packed cell's text is done here; the rest may make or drop a cell.
    if (!Value.empty()) {
      const size_t P = TCellPage::IndexOf(ARow);
      if (P < FPages.size() && ACol >= 0) {
        TCellPage* Page = FPages[P];
        if (Page && !(Page->Listed & TCellPage::RowBit(ARow))) {
          if (const int32_t At = Page->Find(TCellPage::RowOf(ARow), ACol); At >= 0)
            return Page->AssignText(static_cast<uint32_t>(At), Value);
        }
      }
    }
    StoreText(ACol, ARow, Value, ColQuantum);
  }
  /// nil on a cell without a text removes the cell.
  void SetObject(int32_t ACol, int32_t ARow, TObject* Value, TSparseQuantum ColQuantum);

  // ---- rows ----
  /// The list of data row ARow if it has left its page, else null.
  TStringSparseList* FindList(int32_t ARow) const;
  /// The list of data row ARow, made (and the row's cells moved into it) when missing.
  TStringSparseList* EnsureList(int32_t ARow, TSparseQuantum ColQuantum);
  /// The columns of row ARow that hold a cell, ascending; for a row still in its page.
  std::vector<int32_t> PackedColumns(int32_t ARow) const;
  /// Moves the cell of column From to column To in every data row, the cells between
  /// shifting by one, as a string list's Move followed by dropping an empty entry would.
  void MoveColumn(int32_t From, int32_t To);
  /// Data row Rows[i] takes the contents of Rows[i + 1], and the last the first's: cells,
  /// list and existence alike.
  void RotateRows(const std::vector<int32_t>& Rows);

  /// Cells a packed row holds before it moves into a list of its own.
  static constexpr int32_t kMaxPackedRow = 256;

 private:
  struct TCell;
  struct TRowContents;
  struct TWriteSpot;

  /// Text for what the inline path leaves: listed rows and indexes that may be refused.
  String TextElsewhere(int32_t ACol, int32_t ARow) const;
  void StoreText(int32_t ACol, int32_t ARow, const String& Value, TSparseQuantum ColQuantum);
  TCellPage* PageOf(int32_t ARow) const;
  TCellPage* EnsurePage(int32_t ARow);
  /// Gives back the room of the page of ARow that its cells no longer fill: frees a page
  /// without cells or listed rows, and shrinks one filled less than half.
  void Compact(int32_t ARow);
  bool RowExists(int32_t ARow) const {
    const size_t P = TCellPage::IndexOf(ARow);
    return P < FExisting.size() && (FExisting[P] & TCellPage::RowBit(ARow));
  }
  void SetRowExists(int32_t ARow, bool Exists);
  TStringSparseList* ListAt(int32_t ARow) const;
  void CheckRow(int32_t ARow) const;
  /// Makes room for Extra more cells in the page of ARow; the page may move.
  TCellPage* Reserve(int32_t ARow, uint32_t Extra);
  /// Puts a new cell at Pos of the page of ARow, which must be inside ARow's run.
  void InsertCell(int32_t ARow, uint32_t Pos, int32_t ACol, TObject* Obj, const String& Text);
  /// Opens N cells at Pos of the page of ARow (inside ARow's run), to be filled by the
  /// caller; the page must have room.
  static void OpenCells(TCellPage* Page, uint32_t R, uint32_t Pos, uint32_t N);
  /// Takes the cells Begin..End-1 out of row R's run, freeing their texts if Release.
  static void EraseCells(TCellPage* Page, uint32_t R, uint32_t Begin, uint32_t End, bool Release);
  /// The cells of row R, in order; their texts' heap blocks go along.
  static std::vector<TCell> CellsOf(const TCellPage* Page, uint32_t R);
  /// Writes Cells over row R's run, which holds as many.
  static void PutCells(TCellPage* Page, uint32_t R, const std::vector<TCell>& Cells);
  /// Where a write of cell (ACol, ARow) goes, checking its indexes first. Storing makes
  /// the row exist, and sends a new cell of a full row to the row's list.
  TWriteSpot Locate(int32_t ACol, int32_t ARow, bool Storing, TSparseQuantum ColQuantum);
  TRowContents TakeRow(int32_t ARow);
  void PutRow(int32_t ARow, TRowContents&& Contents);

  std::vector<TCellPage*> FPages;       // by data row / 16; null where no row holds a cell
  std::vector<uint16_t> FExisting;      // by data row / 16: the rows that exist
  std::unique_ptr<TSparseList> FLists;  // of TStringSparseList*, owned: rows that left
};

}  // namespace bw
