// The controller's command-line switches.
#pragma once

#include "common/base.h"

namespace ph {

struct CommandLine {
  bool register_path = false;  // "/register": store the program's path for the band, then end
  bool no_flash = false;       // "/noflash": no splash screen
};

// The words after the program's name, split at blanks, each compared exactly (case matters) with
// the switches; other words are ignored.
CommandLine ParseCommandLine(std::string_view arguments);

}  // namespace ph
