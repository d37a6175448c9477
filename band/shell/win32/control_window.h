// The band's hidden control window: it receives the toolbar's commands and notifications and the timers.
#pragma once

#include <windows.h>

namespace ph {
class BandCommands;
}

namespace ph::band {

class BandToolbar;

inline constexpr char kControlWindowClass[] = "grab pluginy class";

// What the control window needs of the band that creates it.
class ControlWindowHost {
 public:
  virtual ~ControlWindowHost() = default;
  virtual BandCommands& commands() = 0;
  virtual BandToolbar& toolbar() = 0;
  // The window exists (called while it is being created) or is being destroyed.
  virtual void OnControlWindowCreated(HWND window) = 0;
  virtual void OnControlWindowDestroyed() = 0;
  virtual void OnFocusChange(bool gained) = 0;
};

// Registers the class once per library (an "Error" box when that fails), creates the window as a
// child of the toolbar and makes it the toolbar's parent for notifications. Null on failure.
HWND CreateControlWindow(HINSTANCE instance, HWND toolbar, ControlWindowHost* host);
// Called when the library is unloaded: no window of the class can outlive its procedure.
void UnregisterControlClass(HINSTANCE instance);

}  // namespace ph::band
