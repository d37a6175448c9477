// The controller's start, resident run and end.
#pragma once

#include <windows.h>

namespace ph::win {

// Runs the program for the given arguments (the command line after the program's name) and
// returns its exit code.
int RunController(HINSTANCE instance, const char* arguments);

}  // namespace ph::win
