// One run of grab: the data folder, the browser when one is needed, and the command.
#pragma once

#include <iosfwd>

#include "tools/grab/options.h"

namespace ph::grab {

// The exit status: 0 when everything was saved, 1 otherwise, 2 for a mistake on the command line,
// 130 or 143 after Ctrl-C or SIGTERM.
int RunGrab(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace ph::grab
