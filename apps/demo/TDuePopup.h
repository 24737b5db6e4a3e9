#pragma once
// A month calendar that drops down under the Due column's editor. Its value is a date
// written YYYY-MM-DD; a cell without a valid date opens on today. A click on a day picks
// it and closes the calendar (the editor takes the date); the arrows in the title row
// show the month before or after and leave it open.

#include <chrono>

#include "editor/TPopupWindow.h"

namespace bw::demo {

class TDuePopup : public TPopupWindow {
  BW_CLASS(TDuePopup, TPopupWindow)

 public:
  static constexpr int32_t CellWidth = 26;
  static constexpr int32_t CellHeight = 18;
  static constexpr int32_t TitleHeight = 22;
  static constexpr int32_t DayNamesHeight = 16;

  explicit TDuePopup(TComponent* AOwner);

  String GetValue() override;
  void SetValue(const String& Value) override;

  std::chrono::year_month_day Date() const { return FDate; }
  /// Moves the chosen date by Days and then Months (a day past the new month's end
  /// becomes its last day) and shows its month.
  void MoveDate(int32_t Days, int32_t Months);

  /// YYYY-MM-DD as a date; false for anything else, or a day that does not exist.
  static bool ParseDate(const String& Text, std::chrono::year_month_day& Date);
  static String FormatDate(std::chrono::year_month_day Date);

  /// The day shown at a client point, if the point is on one.
  bool DayAt(int32_t X, int32_t Y, std::chrono::year_month_day& Day) const;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  /// The day in the calendar's first cell: the Monday on or before the month's first.
  std::chrono::sys_days FirstShownDay() const;
  TRect DayRect(int32_t Index) const;
  TRect ArrowRect(bool Next) const;
  void PaintTitle();
  void PaintDays();

  std::chrono::year_month_day FDate;
  std::chrono::year_month FShown;
};

}  // namespace bw::demo
