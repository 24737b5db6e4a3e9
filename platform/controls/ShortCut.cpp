#include "platform/controls/ShortCut.h"

namespace bw {

TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
  if (Key > 0xFF) return scNone;
  TShortCut result = Key;
  if (Shift.Contains(ssShift)) result += scShift;
  if (Shift.Contains(ssCtrl)) result += scCtrl;
  if (Shift.Contains(ssAlt)) result += scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

}  // namespace bw
