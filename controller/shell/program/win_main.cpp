// Entry point of PageHarvest.exe.
#include <windows.h>

#include "controller/shell/win32/start_up.h"
#include "platform/win32/edge_guard.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  return ph::win::GuardProcedure("WinMain", 1, [&] { return ph::win::RunController(instance, arguments); });
}
