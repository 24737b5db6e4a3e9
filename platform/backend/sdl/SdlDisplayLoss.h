#pragma once
// What a window program does when its display goes away (the X server ends, the network
// to it drops): it ends at once, saying so on stderr, with exit status 1. Nothing runs
// after the loss: Xlib would end the program through exit(), whose static destructors
// would reach the dead connection again (destroying windows there can wait for ever),
// and no event or exception can leave Xlib's error path safely.

namespace bw {

/// Installs the ending for the display SDL's video has open (X11; other window systems
/// are left as they are). Call after SDL's video started.
void EndProgramOnDisplayLoss();

}  // namespace bw
