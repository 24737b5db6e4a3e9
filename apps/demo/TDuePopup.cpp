#include "apps/demo/TDuePopup.h"

#include <charconv>
#include <cstdio>

#include "platform/graphics/TBrush.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TFont.h"
#include "platform/graphics/TPen.h"

namespace bw::demo {

using namespace std::chrono;

namespace {

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
constexpr const char* kDayNames[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
constexpr int32_t kWeeks = 6;

year_month_day Today() {
  return year_month_day{floor<days>(system_clock::now())};
}

bool ParseNumber(const String& Text, size_t From, size_t Count, int& Value) {
  const char* first = Text.data() + From;
  auto [end, ec] = std::from_chars(first, first + Count, Value);
  return ec == std::errc() && end == first + Count;
}

}  // namespace

TDuePopup::TDuePopup(TComponent* AOwner)
    : TPopupWindow(AOwner), FDate(Today()), FShown(FDate.year() / FDate.month()) {
  SetBounds(0, 0, 7 * CellWidth + 2, TitleHeight + DayNamesHeight + kWeeks * CellHeight + 2);
  SetColor(clWindow);
}

bool TDuePopup::ParseDate(const String& Text, year_month_day& Date) {
  int y = 0, m = 0, d = 0;
  if (Text.size() != 10 || Text[4] != '-' || Text[7] != '-' || !ParseNumber(Text, 0, 4, y) ||
      !ParseNumber(Text, 5, 2, m) || !ParseNumber(Text, 8, 2, d))
    return false;
  const year_month_day date{year{y}, month{unsigned(m)}, day{unsigned(d)}};
  if (!date.ok()) return false;
  Date = date;
  return true;
}

String TDuePopup::FormatDate(year_month_day Date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u", int(Date.year()), unsigned(Date.month()),
                unsigned(Date.day()));
  return text;
}

String TDuePopup::GetValue() {
  return FormatDate(FDate);
}

void TDuePopup::SetValue(const String& Value) {
  if (!ParseDate(Value, FDate)) FDate = Today();
  FShown = FDate.year() / FDate.month();
  Invalidate();
}

void TDuePopup::MoveDate(int32_t Days, int32_t Months) {
  year_month_day date{sys_days{FDate} + days{Days}};
  if (Months) {
    const year_month shifted = date.year() / date.month() + months{Months};
    const day lastDay = year_month_day_last{shifted / last}.day();
    date = shifted / (date.day() > lastDay ? lastDay : date.day());
  }
  FDate = date;
  FShown = FDate.year() / FDate.month();
  Invalidate();
}

sys_days TDuePopup::FirstShownDay() const {
  const sys_days first{FShown / 1};
  return first - days{weekday{first}.iso_encoding() - 1};
}

TRect TDuePopup::DayRect(int32_t Index) const {
  const int32_t left = 1 + (Index % 7) * CellWidth;
  const int32_t top = 1 + TitleHeight + DayNamesHeight + (Index / 7) * CellHeight;
  return TRect{left, top, left + CellWidth, top + CellHeight};
}

TRect TDuePopup::ArrowRect(bool Next) const {
  const int32_t left = Next ? ClientWidth() - 1 - CellWidth : 1;
  return TRect{left, 1, left + CellWidth, 1 + TitleHeight};
}

bool TDuePopup::DayAt(int32_t X, int32_t Y, year_month_day& Day) const {
  for (int32_t i = 0; i < 7 * kWeeks; ++i) {
    if (DayRect(i).Contains(TPoint{X, Y})) {
      Day = year_month_day{FirstShownDay() + days{i}};
      return true;
    }
  }
  return false;
}

void TDuePopup::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  year_month_day picked;
  if (Button == mbLeft && DayAt(X, Y, picked)) {
    FDate = picked;
    Invalidate();
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TDuePopup::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  year_month_day ignored;
  if (Button == mbLeft && !DayAt(X, Y, ignored)) {
    // The title row turns the pages; no release outside the days closes the calendar.
    if (ArrowRect(false).Contains(TPoint{X, Y})) FShown -= months{1};
    if (ArrowRect(true).Contains(TPoint{X, Y})) FShown += months{1};
    Invalidate();
    return;
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

void TDuePopup::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(clWindow);
  canvas->FillRect(ClientRect());
  PaintTitle();
  PaintDays();
}

void TDuePopup::PaintTitle() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(TRect{1, 1, ClientWidth() - 1, 1 + TitleHeight});
  const String title =
      String(kMonthNames[unsigned(FShown.month()) - 1]) + " " + std::to_string(int(FShown.year()));
  canvas->Font()->SetStyle(TFontStyles{fsBold});
  canvas->TextOut((ClientWidth() - canvas->TextWidth(title)) / 2,
                  1 + (TitleHeight - canvas->TextHeight(title)) / 2, title);
  canvas->Font()->SetStyle(TFontStyles{});
  // The page-turning arrows: small filled triangles.
  canvas->Brush()->SetColor(clWindowText);
  canvas->Pen()->SetColor(clWindowText);
  for (bool next : {false, true}) {
    const TRect r = ArrowRect(next);
    const int32_t cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const int32_t tip = next ? cx + 3 : cx - 3, base = next ? cx - 2 : cx + 2;
    canvas->Polygon({TPoint{base, cy - 5}, TPoint{tip, cy}, TPoint{base, cy + 5}});
  }
  canvas->Brush()->SetColor(clWindow);
  for (int32_t i = 0; i < 7; ++i) {
    const TRect r = DayRect(i);
    const int32_t top = 1 + TitleHeight;
    canvas->Font()->SetColor(i >= 5 ? clGrayText : clWindowText);
    canvas->TextOut(r.Left + (CellWidth - canvas->TextWidth(kDayNames[i])) / 2, top + 1,
                    kDayNames[i]);
  }
  canvas->Pen()->SetColor(clBtnShadow);
  canvas->MoveTo(3, TitleHeight + DayNamesHeight);
  canvas->LineTo(ClientWidth() - 3, TitleHeight + DayNamesHeight);
}

void TDuePopup::PaintDays() {
  TCanvas* canvas = Canvas();
  const sys_days first = FirstShownDay();
  for (int32_t i = 0; i < 7 * kWeeks; ++i) {
    const year_month_day date{first + days{i}};
    const TRect r = DayRect(i);
    const bool chosen = date == FDate;
    const bool inMonth = date.year() / date.month() == FShown;
    canvas->Brush()->SetColor(chosen ? clHighlight : clWindow);
    canvas->FillRect(r);
    canvas->Font()->SetColor(chosen ? clHighlightText : inMonth ? clWindowText : clGrayText);
    const String text = std::to_string(unsigned(date.day()));
    canvas->TextOut(r.Right - 6 - canvas->TextWidth(text),
                    r.Top + (CellHeight - canvas->TextHeight(text)) / 2, text);
  }
}

}  // namespace bw::demo
