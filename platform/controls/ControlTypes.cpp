#include "platform/controls/ControlTypes.h"

#include <iterator>

#include "platform/core/TextCompare.h"

namespace bw {

namespace {
struct TCursorName {
  TCursor Value;
  const char* Name;
};
constexpr TCursorName kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};
}  // namespace

bool CursorToIdent(int64_t Cursor, String& Ident) {
  for (const auto& c : kCursorNames)
    if (c.Value == Cursor) {
      Ident = c.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const String& Ident, int64_t& Cursor) {
  for (const auto& c : kCursorNames)
    if (SameText(Ident, c.Name)) {
      Cursor = c.Value;
      return true;
    }
  return false;
}

}  // namespace bw
