// The band's side of the hand-off: find or start the controller and deliver one record per selection.
#pragma once

#include <cstdint>

#include "band/engine/band_ports.h"
#include "common/handoff_record.h"

namespace ph {

class Clock;
class Registry;

// A controller main window, as the platform names it; 0 is none.
using ControllerWindow = std::uintptr_t;

// The few calls of the platform the link needs.
class ControllerProcessPort {
 public:
  virtual ~ControllerProcessPort() = default;
  // The controller's main window by its class and title; 0 when there is none.
  virtual ControllerWindow FindControllerWindow() = 0;
  // Starts the program at path through the shell; the outcome is seen only by looking for its window.
  virtual void Launch(const std::string& path) = 0;
  // Sends the record and then the content information, both synchronously, to the window.
  virtual void Deliver(ControllerWindow window, const Bytes& record, std::int32_t layout_id,
                       std::int32_t quick_save) = 0;
};

inline constexpr std::uint32_t kProbeIntervalMs = 1000;
inline constexpr std::uint32_t kStartWaitMs = 10000;
// "Controller Path" is read into a buffer of this many bytes, terminator included.
inline constexpr std::size_t kControllerPathBytes = 260;

inline constexpr char kControllerDidNotStart[] = "The controller did not start; the selection was not saved.";

class ControllerLink : public ControllerLinkPort {
 public:
  ControllerLink(ControllerProcessPort& process, Registry& registry, Clock& clock, MessagePort& messages)
      : process_(process), registry_(registry), clock_(clock), messages_(messages) {}

  // The controller's window, starting the controller from "Controller Path" when it is not running
  // and probing once a second for up to ten seconds; 0 when there is none. Says why to the user.
  ControllerWindow FindController();

  void Send(const DocumentPtr& top, const OutgoingContent& content) override;

 private:
  void ShowError(const char* text);

  ControllerProcessPort& process_;
  Registry& registry_;
  Clock& clock_;
  MessagePort& messages_;
};

}  // namespace ph
