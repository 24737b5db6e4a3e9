#pragma once
// What a TCorvath's tree offers beyond the double-click (its TreeOptions). A grid with
// none of them, the default, works its tree by double-click alone.
//   toKeyboard   Right and Left open and close branches and move to a first child or a
//                parent; "+", "-" and "*" open, close and open the whole branch below.
//   toExpanders  plus and minus boxes (PicturePlus, PictureMinus) at the tree lines; a
//                click on one opens or closes its item and selects no row.
//   toTypeAhead  typed letters move to the next shown item whose text starts with them.
//   toKeepState  which branches are open is stored in form files and outline files.

#include <cstdint>

#include "platform/core/TSet.h"

namespace bw {

enum TTreeOption : uint8_t { toKeyboard, toExpanders, toTypeAhead, toKeepState };
using TTreeOptions = TSet<TTreeOption>;

}  // namespace bw
