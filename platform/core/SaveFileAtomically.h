#pragma once
// The one way the system saves a file: the contents go to a temporary file in the
// target's folder, which is flushed to disk and then renamed over the target. A reader
// sees the old file or the new one, never half of either.

#include <functional>

#include "platform/core/Types.h"

namespace bw {

class TStream;

/// Calls Write with a stream positioned at the start of an empty temporary file, then
/// replaces FileName with it. The new file keeps the old one's permissions (or gets the
/// usual ones for a new file); a symbolic link is followed and the file it names replaced,
/// or created when the link dangles. A file is refused (EFCreateError) whenever opening it
/// for writing would be, even though the folder would let it be replaced.
///
/// A pipe or a character device (a link to one included) is never replaced: Write's data
/// goes into it directly, and so cannot be taken back when a write fails. Nothing waits
/// for a reader: a pipe that no process reads raises EFCreateError at once, and one whose
/// reader leaves raises EWriteError. A disk device is refused.
///
/// On any failure the temporary file is removed and FileName is left as it was: a file
/// that cannot be created or put in place raises EFCreateError, a failed write or flush
/// raises EWriteError, each naming FileName and the system's reason. An exception thrown
/// by Write itself passes through unchanged.
void SaveFileAtomically(const String& FileName, const std::function<void(TStream&)>& Write);

}  // namespace bw
