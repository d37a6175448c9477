// The band's window handles, and the ports that act through them: timers, message boxes, the controller.
#pragma once

#include <windows.h>

#include "band/engine/band_ports.h"
#include "band/shell/controller_link.h"

namespace ph::band {

// Filled in as the windows come and go; the ports read them when they act.
struct BandWindows {
  HWND site = nullptr;     // the band site's window, the toolbar's parent
  HWND control = nullptr;  // the hidden control window
};

class WindowTimers : public TimerPort {
 public:
  explicit WindowTimers(const BandWindows& windows) : windows_(windows) {}
  void Start(int timer_id, std::uint32_t milliseconds) override;
  void Stop(int timer_id) override;

 private:
  const BandWindows& windows_;
};

class MessageBoxes : public MessagePort {
 public:
  explicit MessageBoxes(const BandWindows& windows) : windows_(windows) {}
  void Show(MessageOwner owner, const Message& message) override;

 private:
  const BandWindows& windows_;
};

// The controller found by its window class and title, started with the shell, and sent the
// hand-off with WM_COPYDATA and UM_CONTENT_INFO from the control window.
class ControllerProcess : public ControllerProcessPort {
 public:
  explicit ControllerProcess(const BandWindows& windows) : windows_(windows) {}
  ControllerWindow FindControllerWindow() override;
  void Launch(const std::string& path) override;
  void Deliver(ControllerWindow window, const Bytes& record, std::int32_t layout_id,
               std::int32_t quick_save) override;

 private:
  const BandWindows& windows_;
};

}  // namespace ph::band
