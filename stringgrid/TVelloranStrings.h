#pragma once
// One column or one data row of a TVelloran, seen as a list of strings: entry i of a
// column view is the cell of that column in data row i, entry i of a row view the cell of
// that data row in column i. The view holds no cells itself; every read and write goes to
// the grid, so text, stream, search and copy operations of string lists work on a grid
// column or row. The grid makes the views and owns them.
//
// The list has a fixed length, read live: a row view counts the grid's columns, a column
// view its fixed rows plus every outline item, collapsed or not. Entries cannot be
// inserted or deleted (EAbstractError); Add fills the first empty entry instead.

#include <cstdint>

#include "platform/core/TStrings.h"

namespace bw {

class TVelloran;

class TVelloranStrings : public TStrings {
  BW_CLASS(TVelloranStrings, TStrings)

 public:
  /// AIndex encodes what is viewed: R + 1 for data row R, -C - 1 for column C, 0 for
  /// nothing.
  TVelloranStrings(TVelloran* AGrid, int32_t AIndex);

  /// The column X and data row Y of entry Index; -1 and -1 for a view of nothing.
  void CalcXY(int32_t Index, int32_t& X, int32_t& Y) const;

  String Get(int32_t Index) const override;
  int32_t GetCount() const override;
  TObject* GetObject(int32_t Index) const override;
  void Put(int32_t Index, const String& S) override;
  void PutObject(int32_t Index, TObject* AObject) override;
  /// Switches the grid's update batch on and off.
  void SetUpdateState(bool Updating) override;
  /// Stores S in the first entry without text (an object there stays) and returns its
  /// index; -1, storing nothing, when every entry has text.
  int32_t Add(const String& S) override;
  /// Empties the text of every entry; objects stay.
  void Clear() override;
  /// From a string list: copies text and object of as many entries as both have, in one
  /// update batch; later entries keep their cells. Anything else goes to the base.
  void Assign(TPersistent* Source) override;

 private:
  friend class TVelloran;

  TVelloran* FGrid;  // not owned
  int32_t FIndex;
};

}  // namespace bw
