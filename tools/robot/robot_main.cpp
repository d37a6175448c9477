// ph-robot: small steps on the controller's windows, for scripts.
// Usage: ph-robot about | settings | close TITLE | wait TITLE | tree TITLE INDEX | exit
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/harness/win32/robot.h"

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "about" || verb == "settings" || verb == "exit") {
    const HWND controller = ph::robot::FindController(5000);
    if (!controller) return 1;
    const WPARAM command = verb == "about" ? 57664 : verb == "settings" ? 133 : 57665;
    ::PostMessageA(controller, WM_COMMAND, command, 0);
    return 0;
  }
  if (verb == "tree" && argc > 3) {
    const HWND window = ph::robot::WaitForWindow(argv[2]);
    const HWND tree = window ? ::FindWindowExA(window, nullptr, "SysTreeView32", nullptr) : nullptr;
    return tree && ph::robot::SelectTreeItem(tree, std::atoi(argv[3])) ? 0 : 1;
  }
  if ((verb == "close" || verb == "wait") && argc > 2) {
    const HWND window = ph::robot::WaitForWindow(argv[2]);
    if (!window) return 1;
    if (verb == "close") ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  std::fprintf(stderr, "usage: ph-robot about | settings | close TITLE | wait TITLE | tree TITLE INDEX | exit\n");
  return 2;
}
