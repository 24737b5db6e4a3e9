#pragma once
// The two events through which an application takes part in editing a grid's cells.

#include "platform/core/TEvent.h"

namespace bw {

class TObject;

/// The grid's OnButtonClick: Sender is the in-place editor, ACol the current column and
/// ARow the data row of the current row. The handler may change EditText; the editor
/// shows it afterwards, changed or not.
using TEditButtonClickEvent =
    TEvent<void(TObject* Sender, int32_t ACol, int32_t ARow, String& EditText)>;

/// The grid's OnEditAcceptKey: Sender is the grid; Accept is true on entry, and a
/// handler that sets it to false keeps Key out of the editor.
using TEditAcceptKeyEvent = TEvent<void(TObject* Sender, Char Key, bool& Accept)>;

}  // namespace bw
