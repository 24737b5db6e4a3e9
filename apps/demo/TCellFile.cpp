#include "apps/demo/TCellFile.h"

#include <charconv>
#include <fstream>
#include <set>
#include <utility>

#include "apps/demo/ECellFileError.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TStream.h"
#include "stringgrid/TVelloran.h"

namespace bw::demo {

namespace {

const String kMagic = "brantwell-demo-cells";

String Escape(const String& Text) {
  String out;
  for (char c : Text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\0':
        out += "\\0";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Reads one file line at a time and knows where it is, for the messages.
class TLineReader {
 public:
  TLineReader(const String& Contents, String Source)
      : FContents(Contents), FSource(std::move(Source)) {}

  bool Next(String& Line) {
    if (FPos >= FContents.size()) return false;
    ++FLine;
    const size_t end = FContents.find('\n', FPos);
    if (end == String::npos) Fail("the last line has no line feed; the file may be cut short");
    Line = FContents.substr(FPos, end - FPos);
    FPos = end + 1;
    if (Line.find('\0') != String::npos) Fail("a zero byte; a cells file is text");
    return true;
  }
  [[noreturn]] void Fail(const String& What) const {
    throw ECellFileError(FSource + ", line " + std::to_string(FLine > 0 ? FLine : 1) + ": " + What);
  }

 private:
  const String& FContents;
  String FSource;
  size_t FPos = 0;
  int32_t FLine = 0;
};

int32_t ParseIndex(const String& Field, const char* What, int32_t Limit, const TLineReader& In) {
  int32_t value = -1;
  const char* end = Field.data() + Field.size();
  auto [p, ec] = std::from_chars(Field.data(), end, value);
  if (Field.empty() || ec != std::errc() || p != end || value < 0)
    In.Fail(String(What) + " \"" + Field + "\" is not a number of 0 or more");
  if (value >= Limit)
    In.Fail(String(What) + " " + Field + " is past the grid's last (" + std::to_string(Limit - 1) +
            ")");
  return value;
}

String Unescape(const String& Field, const TLineReader& In) {
  String out;
  for (size_t i = 0; i < Field.size(); ++i) {
    if (Field[i] == '\r') In.Fail("a carriage return must be written \\r");
    if (Field[i] != '\\') {
      out += Field[i];
      continue;
    }
    if (++i == Field.size()) In.Fail("the text ends in a lone backslash");
    switch (Field[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case '0':
        out += '\0';
        break;
      default:
        In.Fail(String("unknown escape \\") + Field[i]);
    }
  }
  return out;
}

void CheckHeader(TLineReader& In) {
  String line;
  if (!In.Next(line)) In.Fail("the file is empty; a cells file starts with \"" + kMagic + " 1\"");
  const size_t space = line.find(' ');
  if (line.substr(0, space) != kMagic)
    In.Fail("not a cells file (it must start with \"" + kMagic + "\")");
  const String version = space == String::npos ? String() : line.substr(space + 1);
  if (version != std::to_string(TCellFile::Version))
    In.Fail("version \"" + version + "\" is not one this program reads (it reads " +
            std::to_string(TCellFile::Version) + ")");
}

String ReadWhole(const String& FileName) {
  std::ifstream file(FileName, std::ios::binary);
  if (!file) throw ECellFileError("Cannot open the cells file " + FileName);
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < 0) throw ECellFileError("Cannot read the cells file " + FileName);
  if (size > TCellFile::MaxFileSize)
    throw ECellFileError(FileName + " is larger than a cells file may be (" +
                         std::to_string(TCellFile::MaxFileSize) + " bytes)");
  String contents(size_t(size), '\0');
  file.seekg(0);
  if (!file.read(contents.data(), size))
    throw ECellFileError("Cannot read the cells file " + FileName);
  return contents;
}

int32_t DataRowCount(TVelloran* Grid) {
  return Grid->FixedRows() + Grid->Outline()->GetItemCount();
}

}  // namespace

String TCellFile::Format(const std::vector<TCell>& Cells) {
  String out = kMagic + " " + std::to_string(Version) + "\n";
  for (const TCell& cell : Cells)
    out += std::to_string(cell.Col) + "\t" + std::to_string(cell.Row) + "\t" + Escape(cell.Text) +
           "\n";
  return out;
}

std::vector<TCellFile::TCell> TCellFile::Parse(const String& Contents, const String& Source,
                                               int32_t Cols, int32_t Rows) {
  TLineReader in(Contents, Source);
  CheckHeader(in);
  std::vector<TCell> cells;
  std::set<std::pair<int32_t, int32_t>> seen;
  String line;
  while (in.Next(line)) {
    const size_t tab1 = line.find('\t');
    const size_t tab2 = tab1 == String::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == String::npos)
      in.Fail("expected a column, a data row and a text, separated by tabs");
    TCell cell;
    cell.Col = ParseIndex(line.substr(0, tab1), "column", Cols, in);
    cell.Row = ParseIndex(line.substr(tab1 + 1, tab2 - tab1 - 1), "data row", Rows, in);
    cell.Text = Unescape(line.substr(tab2 + 1), in);
    if (!seen.insert({cell.Col, cell.Row}).second)
      in.Fail("the cell in column " + std::to_string(cell.Col) + ", data row " +
              std::to_string(cell.Row) + " is given twice");
    cells.push_back(std::move(cell));
  }
  return cells;
}

void TCellFile::Save(TVelloran* Grid, const String& FileName) {
  std::vector<TCell> cells;
  const int32_t rows = DataRowCount(Grid);
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t col = 0; col < Grid->ColCount(); ++col)
      if (String text = Grid->GetCells(col, row); !text.empty()) cells.push_back({col, row, text});
  const String contents = Format(cells);
  SaveFileAtomically(FileName, [&](TStream& Stream) {
    Stream.WriteBuffer(contents.data(), int32_t(contents.size()));
  });
}

void TCellFile::Load(TVelloran* Grid, const String& FileName) {
  const int32_t rows = DataRowCount(Grid);
  const std::vector<TCell> cells = Parse(ReadWhole(FileName), FileName, Grid->ColCount(), rows);
  // Only now is the grid touched, in one batch: one repaint for the whole change.
  Grid->SetUpdateState(true);
  try {
    for (int32_t row = 0; row < rows; ++row)
      for (int32_t col = 0; col < Grid->ColCount(); ++col)
        Grid->SetCells(col, row, String());
    for (const TCell& cell : cells)
      Grid->SetCells(cell.Col, cell.Row, cell.Text);
  } catch (...) {
    Grid->SetUpdateState(false);
    throw;
  }
  Grid->SetUpdateState(false);
}

}  // namespace bw::demo
