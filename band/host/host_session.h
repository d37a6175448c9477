// One connection of the native host: the extension's command on one tab, carried out by the selection engine.
#pragma once

#include <functional>

#include "band/engine/program_ports.h"
#include "band/engine/selection_engine.h"
#include "band/host/native_channel.h"
#include "band/live/live_document.h"
#include "band/live/live_events.h"

namespace ph::host {

// What became of a finished selection, as the platform's road for content can tell it.
struct Delivery {
  std::string outcome;  // "saved", "skipped" or "failed"
  std::string text;     // where the content went, or why not
};

class DeliveryPort {
 public:
  virtual ~DeliveryPort() = default;
  // Before each command that may send content.
  virtual void Reset() = 0;
  // After it: what became of what was sent since Reset ("skipped" when nothing was).
  virtual Delivery Result() = 0;
};

// The engine and the ports it was made with, which the session points at the live page.
struct HostParts {
  SelectionEngine& engine;
  ShownPage& page;
  RoutedEvents& events;
  ImmediateTimers& timers;
  live::MarkupForm& form;
  DeliveryPort& delivery;
};

// The engine's message boxes, shown in the page by the extension: nobody sees a host's own window.
class ExtensionMessages : public MessagePort {
 public:
  explicit ExtensionMessages(NativeChannel& channel) : channel_(channel) {}
  void Show(MessageOwner, const Message& message) override;

 private:
  NativeChannel& channel_;
};

// The "message" the extension shows for a message box of the program.
Json MessageToShow(const Message& message);

class HostSession {
 public:
  HostSession(const HostParts& parts, NativeChannel& channel) : parts_(parts), channel_(channel) {}

  // Serves the connection: its "open" message and the command it names, to the end. The exit
  // status: 0 when the command ran (whatever it saved), 1 when the extension was not understood.
  int Run();

 private:
  // The engine on the tab's page as it is now, as after the page finished loading.
  bool ShowPage();
  Json Done(const Delivery& delivery);
  Json RunSelection(bool fine);
  Json RunFinishing(const std::function<void()>& command);
  std::vector<std::string> Hosts() const;

  HostParts parts_;
  NativeChannel& channel_;
  std::shared_ptr<live::LivePage> page_;
  std::unique_ptr<live::LiveEvents> events_;
  std::shared_ptr<live::LiveDocument> top_;
};

}  // namespace ph::host
