// ph-robot: small steps on the controller's windows, for scripts.
// Usage: ph-robot about | close TITLE | wait TITLE | exit
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/harness/win32/robot.h"

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "about" || verb == "exit") {
    const HWND controller = ph::robot::FindController(5000);
    if (!controller) return 1;
    ::PostMessageA(controller, WM_COMMAND, verb == "about" ? 57664 : 57665, 0);
    return 0;
  }
  if ((verb == "close" || verb == "wait") && argc > 2) {
    const HWND window = ph::robot::WaitForWindow(argv[2]);
    if (!window) return 1;
    if (verb == "close") ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  std::fprintf(stderr, "usage: ph-robot about | close TITLE | wait TITLE | exit\n");
  return 2;
}
