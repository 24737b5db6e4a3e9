#pragma once
// One page of the cell store: sixteen data rows in one heap block, a head followed by the
// rows' cells sorted by row and column, each row's cells a run starting at RowStart. The
// store (TCellStore) owns the block, grows it and moves cells; what is here is reading,
// kept in the header so that a lookup compiles into its caller.
//
// The cells are three arrays side by side, one entry per cell in the same order: the
// texts (16 bytes each, on 16-byte boundaries, so that none straddles two cache lines),
// the objects and the columns. A read of a text touches the texts alone when its row is
// dense (its cells are columns 0 to n - 1, so column c is at offset c), which a filled
// grid's rows are: that keeps the bytes a grid of random reads waits for to the texts.
//
// A packed row holds at most TCellStore::kMaxPackedRow cells, so 16 bits count a page's
// cells and the head fits one cache line.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "stringgrid/TCellText.h"

namespace bw {

class TObject;

struct alignas(16) TCellPage {
  static constexpr uint32_t kShift = 4;
  static constexpr uint32_t kRows = 1u << kShift;
  static constexpr uint32_t kRowMask = kRows - 1;
  /// Rows this long or shorter are searched by counting.
  static constexpr uint32_t kShortRow = 4;

  uint16_t Capacity;   // cells the arrays hold
  uint16_t Listed;     // rows whose cells live in their list
  uint16_t Dense;      // rows whose run is columns 0 to its length - 1
  uint16_t LongTexts;  // texts in heap blocks of their own
  // RowStart[R] is the first cell of row R's run, and RowStart[kRows] the number of cells,
  // so that every run ends where the next starts. A listed row has none.
  uint16_t RowStart[kRows + 1];

  /// The bytes of a page whose arrays hold Capacity cells. The columns have kShortRow
  /// entries to spare, so that counting through a short row never reads past the block.
  static size_t BytesFor(uint32_t Capacity) {
    return sizeof(TCellPage) + Capacity * (sizeof(TCellText) + sizeof(TObject*) + sizeof(int32_t)) +
           kShortRow * sizeof(int32_t);
  }

  /// The page of data row ARow, counted from the store's first.
  static uint32_t IndexOf(int32_t ARow) { return static_cast<uint32_t>(ARow) >> kShift; }
  /// Data row ARow's place in its page.
  static uint32_t RowOf(int32_t ARow) { return static_cast<uint32_t>(ARow) & kRowMask; }
  /// Data row ARow's bit in Listed and Dense, and in the store's record of existing rows.
  static uint16_t RowBit(int32_t ARow) { return static_cast<uint16_t>(1u << RowOf(ARow)); }

  TCellText* Texts() { return reinterpret_cast<TCellText*>(this + 1); }
  const TCellText* Texts() const { return reinterpret_cast<const TCellText*>(this + 1); }
  TObject** Objects() { return reinterpret_cast<TObject**>(Texts() + Capacity); }
  TObject* const* Objects() const { return reinterpret_cast<TObject* const*>(Texts() + Capacity); }
  int32_t* Cols() { return reinterpret_cast<int32_t*>(Objects() + Capacity); }
  const int32_t* Cols() const { return reinterpret_cast<const int32_t*>(Objects() + Capacity); }

  uint32_t Count() const { return RowStart[kRows]; }
  uint32_t Begin(uint32_t R) const { return RowStart[R]; }
  uint32_t End(uint32_t R) const { return RowStart[R + 1]; }
  /// Moves the runs after row R, and the end of the cells, by Delta cells.
  void ShiftAfter(uint32_t R, int32_t Delta) {
    for (uint32_t Next = R + 1; Next <= kRows; ++Next)
      RowStart[Next] = static_cast<uint16_t>(RowStart[Next] + Delta);
  }
  /// Replaces the text of cell At, keeping LongTexts. While the page holds no long text,
  /// a short one is written without reading the cell first.
  void AssignText(uint32_t At, std::string_view S) {
    TCellText& Text = Texts()[At];
    if (LongTexts == 0 && S.size() <= TCellText::kInline) return Text.AssignShort(S);
    const bool WasLong = Text.IsLong();
    Text.Assign(S);
    LongTexts = static_cast<uint16_t>(LongTexts + Text.IsLong() - WasLong);
  }
  /// Empties the text of cell At, freeing its heap block.
  void ReleaseText(uint32_t At) {
    LongTexts = static_cast<uint16_t>(LongTexts - Texts()[At].IsLong());
    Texts()[At].Release();
  }
  /// The long texts among cells Begin..End-1.
  uint32_t LongTextsIn(uint32_t Begin, uint32_t End) const {
    uint32_t N = 0;
    for (uint32_t I = Begin; I < End; ++I)
      N += Texts()[I].IsLong();
    return N;
  }

  /// Works out anew whether row R is dense; called after every change of its run.
  void RunChanged(uint32_t R) {
    const uint32_t B = Begin(R), E = End(R);
    const uint16_t Bit = static_cast<uint16_t>(1u << R);
    // The columns of a run ascend and are not negative: the last one tells.
    if (E > B && Cols()[E - 1] == static_cast<int32_t>(E - B - 1))
      Dense = static_cast<uint16_t>(Dense | Bit);
    else
      Dense = static_cast<uint16_t>(Dense & ~Bit);
  }

  /// The first cell of row R at or after column ACol (not negative).
  uint32_t LowerBound(uint32_t R, int32_t ACol) const {
    const uint32_t B = Begin(R);
    uint32_t Length = End(R) - B;
    const uint32_t Col = static_cast<uint32_t>(ACol);
    if (Dense & (1u << R)) return B + (Col < Length ? Col : Length);
    if (Length == 0) return B;
    const int32_t* First = Cols() + B;
    // Halving without a branch on the comparison: the columns asked for are as likely
    // random as not, and a mispredicted branch costs more than the select.
    while (Length > 1) {
      const uint32_t Half = Length / 2;
      First += (First[Half] < ACol) ? Half : 0;
      Length -= Half;
    }
    return static_cast<uint32_t>(First - Cols()) + (*First < ACol ? 1 : 0);
  }

  /// Where column ACol (not negative) is in row R, or -1.
  int32_t Find(uint32_t R, int32_t ACol) const {
    const uint32_t B = Begin(R);
    const uint32_t Length = End(R) - B;
    const uint32_t Col = static_cast<uint32_t>(ACol);
    if (Dense & (1u << R)) return Col < Length ? static_cast<int32_t>(B + Col) : -1;
    const int32_t* First = Cols() + B;
    if (Length > kShortRow) {
      const uint32_t Pos = LowerBound(R, ACol);
      return Pos < B + Length && Cols()[Pos] == ACol ? static_cast<int32_t>(Pos) : -1;
    }
    // Most rows of a sparse grid are short or empty, in no order a branch could learn:
    // the columns below ACol are counted. The places past the row's end are read (the
    // block has room for them) and left out of the count.
    const uint32_t Below = ((0 < Length) & (First[0] < ACol)) + ((1 < Length) & (First[1] < ACol)) +
                           ((2 < Length) & (First[2] < ACol)) + ((3 < Length) & (First[3] < ACol));
    return ((Below < Length) & (First[Below] == ACol)) ? static_cast<int32_t>(B + Below) : -1;
  }

  /// The text of column ACol (not negative) in row R, or null.
  const TCellText* FindText(uint32_t R, int32_t ACol) const {
    const int32_t At = Find(R, ACol);
    return At < 0 ? nullptr : Texts() + At;
  }
  TCellText* FindText(uint32_t R, int32_t ACol) {
    const int32_t At = Find(R, ACol);
    return At < 0 ? nullptr : Texts() + At;
  }
};

}  // namespace bw
