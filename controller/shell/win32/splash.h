// CFlashScreenDlg: the splash screen shown for three seconds while the controller starts.
#pragma once

#include <windows.h>

namespace ph::win {

// Shows the splash modally under an invisible owner window and returns when it has closed.
void ShowSplash(HINSTANCE instance);

}  // namespace ph::win
