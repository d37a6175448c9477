// The trace an edge leaves when it has caught what it must not pass on.
#include "platform/win32/edge_guard.h"

#include <cstdio>

namespace ph::win {

void TraceEdgeFailure(const char* where, const char* what) noexcept {
  // A fixed buffer: the failure being reported may be that memory ran out.
  char line[512];
  std::snprintf(line, sizeof line, "PageHarvest: %s: %s\n", where ? where : "?", what ? what : "?");
  ::OutputDebugStringA(line);
}

}  // namespace ph::win
