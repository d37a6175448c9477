// The band's toolbar window: two buttons, two image lists, the command menu.
#pragma once

#include <windows.h>

#include "band/engine/band_ports.h"
#include "band/shell/band_commands.h"
#include "platform/win32/unique_handle.h"

namespace ph::band {

inline constexpr int kToolbarId = 100;

class BandToolbar : public ToolbarPort, public ToolbarView {
 public:
  // Builds the toolbar over the band site window with the settings (read here first), its images
  // and its menu. False, after telling the user, when the window cannot be created.
  bool Create(HWND site_window, HINSTANCE instance, Registry& registry, BandSettings* settings);
  // Destroys the toolbar (and the control window, its child) unless the browser did already.
  void Destroy();

  HWND hwnd() const { return hwnd_.get(); }
  // The drop-down of "Start Selection": the menu's first pop-up.
  HMENU popup() const { return menu_ ? ::GetSubMenu(menu_.get(), 0) : nullptr; }

  void CheckButton(int command, bool checked) override;
  void EnableButton(int command, bool enabled) override;
  bool IsChecked(int command) override;
  void UseLargeImages(bool large) override;
  void ShowLabels(bool shown) override;

 private:
  win::UniqueHwnd hwnd_;
  win::UniqueHimagelist small_;
  win::UniqueHimagelist large_;
  win::UniqueHmenu menu_;
};

}  // namespace ph::band
