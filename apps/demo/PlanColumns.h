#pragma once
// The columns of the demo's plan grid, left to right. The tree is in column 0.

#include <cstdint>

namespace bw::demo {

enum TPlanColumn : int32_t { pcTask, pcOwner, pcStatus, pcEffort, pcDue, pcNotes, pcCount };

}  // namespace bw::demo
