// Entry point of PageHarvest.exe.
#include <windows.h>

#include "controller/shell/win32/start_up.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  try {
    return ph::win::RunController(instance, arguments);
  } catch (...) {
    return 1;
  }
}
