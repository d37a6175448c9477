// The host's side of a connection: the open message, the command on the live page, and its outcome.
#include "band/host/host_session.h"

#include <set>

#include "band/live/live_selection.h"
#include "platform/user.h"

namespace ph::host {
namespace {

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return "error";
    case MessageIcon::kWarning: return "warning";
    case MessageIcon::kQuestion: return "question";
    default: return "information";
  }
}

}  // namespace

Json MessageToShow(const Message& message) {
  return {{"type", "message"}, {"text", message.text}, {"caption", message.caption}, {"icon", IconName(message.icon)}};
}

void ExtensionMessages::Show(MessageOwner, const Message& message) { channel_.Tell(MessageToShow(message)); }

bool HostSession::ShowPage() {
  page_ = std::make_shared<live::LivePage>(channel_, parts_.form);
  events_ = std::make_unique<live::LiveEvents>(*page_);
  top_ = live::LiveDocument::Top(page_);
  if (!top_) return false;
  parts_.events.Use(*events_);
  parts_.page.Set(top_);
  parts_.engine.OnDocumentComplete();
  return true;
}

Json HostSession::Done(const Delivery& delivery) {
  return {{"type", "done"}, {"outcome", delivery.outcome}, {"text", delivery.text},
          {"layout", parts_.engine.current_layout_id()}};
}

Json HostSession::RunFinishing(const std::function<void()>& command) {
  parts_.delivery.Reset();
  command();
  parts_.timers.Fire(parts_.engine);
  return Done(parts_.delivery.Result());
}

Json HostSession::RunSelection(bool fine) {
  parts_.delivery.Reset();
  live::LiveSelection selection(parts_.engine, *page_, *events_);
  selection.Begin(fine);
  while (selection.state() == live::LiveSelection::State::kSelecting) selection.Step(live::Clock::time_point::max());
  switch (selection.state()) {
    case live::LiveSelection::State::kCancelled: return Done({"cancelled", "Nothing was kept."});
    case live::LiveSelection::State::kClosed:
      // The engine lets go of the page's elements; nothing is stored or sent.
      parts_.engine.CancelSelection();
      return Done({"closed", "The page was closed or left before the selection ended; nothing was kept."});
    default: return Done(parts_.delivery.Result());
  }
}

std::vector<std::string> HostSession::Hosts() const {
  std::set<std::string> hosts;
  for (const auto& [id, entry] : parts_.engine.layouts().entries())
    if (!entry.host.empty()) hosts.insert(entry.host);
  return {hosts.begin(), hosts.end()};
}

int HostSession::Run() {
  const std::optional<Json> open = channel_.NextCommand();
  if (!open) return 1;
  const auto type = open->find("type");
  const auto name = open->find("command");
  if (type == open->end() || *type != "open" || name == open->end() || !name->is_string()) {
    channel_.Tell({{"type", "error"}, {"text", "the first message must be {\"type\": \"open\", \"command\": ...}"}});
    return 1;
  }
  const std::string command = name->get<std::string>();
  const auto fine = open->find("fine");
  Json last;
  if (command == "hosts") {
    last = {{"type", "hosts"}, {"hosts", Hosts()}};
  } else if (command != "state" && command != "start" && command != "quick" && command != "auto") {
    last = {{"type", "error"}, {"text", "unknown command: " + command}};
  } else if (!ShowPage()) {
    last = {{"type", "done"}, {"outcome", "closed"}, {"text", "The page cannot be reached."}, {"layout", 0}};
  } else if (command == "state") {
    last = {{"type", "state"}, {"layout", parts_.engine.current_layout_id()}};
  } else if (command == "start") {
    last = RunSelection(fine != open->end() && fine->is_boolean() && fine->get<bool>());
  } else if (command == "quick") {
    last = RunFinishing([&] { parts_.engine.QuickSave(); });
  } else {
    last = RunFinishing([&] { parts_.engine.AutoSelect(); });
  }
  channel_.Tell(last);
  // The engine is connected to nothing between commands.
  static NoDocumentEvents none;
  parts_.events.Use(none);
  parts_.page.Set(nullptr);
  return last.value("type", "") == "error" ? 1 : 0;
}

}  // namespace ph::host
