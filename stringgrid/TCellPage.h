#pragma once
// One page of the cell store: sixteen data rows in one heap block, a head followed by the
// rows' cells sorted by row and column, each row's cells a run starting at RowStart. The
// store (TCellStore) owns the block, grows it and moves cells; what is here is reading,
// kept in the header so that a lookup compiles into its caller.
//
// A packed row holds at most TCellStore::kMaxPackedRow cells, so 16 bits count a page's
// cells and the head fits one cache line.

#include <climits>
#include <cstdint>

#include "stringgrid/TCellText.h"

namespace bw {

class TObject;

struct alignas(16) TCellPage {
  static constexpr uint32_t kShift = 4;
  static constexpr uint32_t kRows = 1u << kShift;
  static constexpr uint32_t kRowMask = kRows - 1;

  // 32 bytes, the object and the text's heap pointer aligned: a leak checker finds a
  // heap block only through an aligned pointer. On 16-byte boundaries, as the heap
  // hands out blocks, at most one cell in four straddles two cache lines.
  struct TCell {
    int32_t Col;
    TObject* Obj;
    TCellText Text;
  };

  uint16_t Capacity;
  uint16_t Existing;  // rows that exist
  uint16_t Listed;    // rows whose cells live in their list
  // RowStart[R] is the first cell of row R's run, and RowStart[kRows] the number of cells,
  // so that every run ends where the next starts. A row that does not exist has none.
  uint16_t RowStart[kRows + 1];

  /// The page of data row ARow, counted from the store's first.
  static uint32_t IndexOf(int32_t ARow) { return static_cast<uint32_t>(ARow) >> kShift; }
  /// Data row ARow's place in its page.
  static uint32_t RowOf(int32_t ARow) { return static_cast<uint32_t>(ARow) & kRowMask; }
  /// Data row ARow's bit in Existing and Listed.
  static uint16_t RowBit(int32_t ARow) { return static_cast<uint16_t>(1u << RowOf(ARow)); }

  TCell* Cells() { return reinterpret_cast<TCell*>(this + 1); }
  const TCell* Cells() const { return reinterpret_cast<const TCell*>(this + 1); }
  uint32_t Count() const { return RowStart[kRows]; }
  uint32_t Begin(uint32_t R) const { return RowStart[R]; }
  uint32_t End(uint32_t R) const { return RowStart[R + 1]; }
  /// Moves the runs after row R, and the end of the cells, by Delta cells.
  void ShiftAfter(uint32_t R, int32_t Delta) {
    for (uint32_t Next = R + 1; Next <= kRows; ++Next)
      RowStart[Next] = static_cast<uint16_t>(RowStart[Next] + Delta);
  }

  /// Rows this long or shorter are searched by counting.
  static constexpr uint32_t kShortRow = 4;
  /// What a search reads past the end of a short row: a cell after every column.
  static const TCell kPastEnd;
  static const TCell* CellOrPastEnd(const TCell* First, uint32_t I, uint32_t Length) {
    // A mask rather than a condition, which the compiler would make a branch; the address
    // past the end is worked out as a number and never used.
    const uintptr_t Inside = uintptr_t(0) - uintptr_t(I < Length);
    const uintptr_t At = reinterpret_cast<uintptr_t>(First) + I * sizeof(TCell);
    return reinterpret_cast<const TCell*>((At & Inside) |
                                          (reinterpret_cast<uintptr_t>(&kPastEnd) & ~Inside));
  }

  /// The first cell of row R at or after column ACol (not negative).
  uint32_t LowerBound(uint32_t R, int32_t ACol) const {
    const uint32_t B = Begin(R);
    uint32_t Length = End(R) - B;
    const TCell* First = Cells() + B;
    // A row filled from column 0 on holds column c at offset c.
    const uint32_t Col = static_cast<uint32_t>(ACol);
    if (Col < Length && First[Col].Col == ACol) return B + Col;
    if (Length == 0) return B;
    // Halving without a branch on the comparison: the columns asked for are as likely
    // random as not, and a mispredicted branch costs more than the select.
    while (Length > 1) {
      const uint32_t Half = Length / 2;
      First += (First[Half].Col < ACol) ? Half : 0;
      Length -= Half;
    }
    return static_cast<uint32_t>(First - Cells()) + (First->Col < ACol ? 1 : 0);
  }

  /// The cell of column ACol (not negative) in row R, or null.
  const TCell* Find(uint32_t R, int32_t ACol) const {
    const uint32_t B = Begin(R);
    const uint32_t Length = End(R) - B;
    const TCell* First = Cells() + B;
    // A row filled from column 0 on holds column c at offset c.
    const uint32_t Col = static_cast<uint32_t>(ACol);
    if (Col < Length && First[Col].Col == ACol) return First + Col;
    if (Length > kShortRow) {
      const uint32_t Pos = LowerBound(R, ACol);
      return Pos < B + Length && Cells()[Pos].Col == ACol ? Cells() + Pos : nullptr;
    }
    // Most rows of a sparse grid are short or empty, in no order a branch could learn:
    // the columns below ACol are counted, and places past the row's end read a stand-in.
    const uint32_t Below = (CellOrPastEnd(First, 0, Length)->Col < ACol) +
                           (CellOrPastEnd(First, 1, Length)->Col < ACol) +
                           (CellOrPastEnd(First, 2, Length)->Col < ACol) +
                           (CellOrPastEnd(First, 3, Length)->Col < ACol);
    const TCell* At = CellOrPastEnd(First, Below, Length);
    return ((At->Col == ACol) & (Below < Length)) ? At : nullptr;
  }
  TCell* Find(uint32_t R, int32_t ACol) {
    return const_cast<TCell*>(static_cast<const TCellPage*>(this)->Find(R, ACol));
  }
};

inline const TCellPage::TCell TCellPage::kPastEnd{INT32_MAX, nullptr, TCellText()};

}  // namespace bw
