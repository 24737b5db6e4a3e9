#pragma once
// The demo's own file of a TVelloran's cells (form files do not store them). It is text,
// UTF-8, one cell a line:
//
//   brantwell-demo-cells 1          <- the first line: the format's name and version
//   1<TAB>0<TAB>Owner               <- column, data row, text
//   5<TAB>12<TAB>Lead time 5 weeks
//
// Columns and data rows are decimal numbers (data rows as TVelloran keeps them: the fixed
// rows first, then the outline items in order). In the text a backslash, a tab, a line
// feed, a carriage return and a zero character are written \\, \t, \n, \r and \0 (a raw
// zero byte is refused, so that a file stays text; \0 came after the others, and files
// without it read as before). Only cells holding text are written; the last line ends
// with a line feed.
//
// Reading is all or nothing: the whole file is checked (version, numbers, escapes, cells
// within the grid's columns and rows, no cell twice) before the grid is touched, and the
// first fault raises ECellFileError naming the file and the line. Writing goes through
// SaveFileAtomically, so a failed save leaves the old file whole.

#include <cstdint>
#include <vector>

#include "platform/core/Types.h"

namespace bw {
class TVelloran;
}

namespace bw::demo {

class TCellFile {
 public:
  /// The version this program writes and the only one it reads.
  static constexpr int32_t Version = 1;
  /// Larger files are refused unread.
  static constexpr int64_t MaxFileSize = 16 * 1024 * 1024;

  struct TCell {
    int32_t Col = 0;
    int32_t Row = 0;
    String Text;
  };

  /// Writes every cell of Grid that holds text, for its columns and data rows.
  static void Save(TVelloran* Grid, const String& FileName);
  /// Replaces all of Grid's cell texts with the file's.
  static void Load(TVelloran* Grid, const String& FileName);

  /// The file's contents for these cells, and the cells of such contents; Parse raises
  /// ECellFileError (naming Source) for contents that do not fit a grid of Cols columns
  /// and Rows data rows.
  static String Format(const std::vector<TCell>& Cells);
  static std::vector<TCell> Parse(const String& Contents, const String& Source, int32_t Cols,
                                  int32_t Rows);
};

}  // namespace bw::demo
