// The page helper in each frame of a tab: worlds made for it, calls into it, and the reports it sends back.
#include "band/cdp/posix/tab_channel.h"

#include "band/cdp/page_helper_script.h"

namespace ph::cdp {
namespace {

constexpr char kWorldName[] = "grab-live";
constexpr char kBinding[] = "grabReport";
// The helper reports through the binding, which takes a text.
constexpr char kInstall[] = "\ninstallPageHelper(report => globalThis.grabReport(JSON.stringify(report)));\n";
constexpr char kInvoke[] = "function(operation, args) { return globalThis.__grab[operation](...args); }";

// Runs a DevTools command whose failure means the page cannot answer.
template <typename Call>
auto Asking(Call call) {
  try {
    return call();
  } catch (const DevToolsError& e) {
    throw live::PageError(e.what());
  }
}

}  // namespace

TabChannel::TabChannel(PageTab& tab, std::string main_frame) : tab_(tab), main_frame_(std::move(main_frame)) {
  tab.Call("Runtime.enable");
  tab.Call("Runtime.addBinding", {{"name", kBinding}, {"executionContextName", kWorldName}});
}

live::FrameKey TabChannel::World(const std::string& frame_id) {
  if (const auto known = worlds_.find(frame_id); known != worlds_.end()) return known->second;
  return Asking([&] {
    const Json world = tab_.Call("Page.createIsolatedWorld", {{"frameId", frame_id}, {"worldName", kWorldName}});
    const live::FrameKey context = world.value("executionContextId", 0);
    const Json result = tab_.Call("Runtime.evaluate", {{"expression", std::string(kPageHelperScript) + kInstall},
                                                       {"contextId", context},
                                                       {"returnByValue", true}});
    if (result.contains("exceptionDetails")) throw live::PageError("the page helper did not start in frame " + frame_id);
    worlds_[frame_id] = context;
    return context;
  });
}

live::FrameKey TabChannel::TopFrame() {
  if (gone_) throw live::PageError("the page is gone");
  return World(main_frame_);
}

Json TabChannel::Invoke(live::FrameKey frame, const std::string& operation, Json arguments) {
  if (gone_) throw live::PageError("the page is gone");
  const Json result = Asking([&] {
    return tab_.Call("Runtime.callFunctionOn",
                     {{"functionDeclaration", kInvoke},
                      {"executionContextId", frame},
                      {"arguments", Json::array({Json{{"value", operation}}, Json{{"value", std::move(arguments)}}})},
                      {"returnByValue", true}});
  });
  if (const auto error = result.find("exceptionDetails"); error != result.end())
    throw live::PageError(operation + ": " + error->value("text", "the page's script failed"));
  return result.value("result", Json::object()).value("value", Json());
}

std::optional<live::FrameKey> TabChannel::ChildFrame(live::FrameKey frame, long handle) {
  const std::string frame_id = Asking([&] {
    const Json object = tab_.Call("Runtime.callFunctionOn",
                                  {{"functionDeclaration", "function(h) { return globalThis.__grab.node(h); }"},
                                   {"executionContextId", frame},
                                   {"arguments", Json::array({Json{{"value", handle}}})}});
    const std::string object_id = object.value("result", Json::object()).value("objectId", "");
    if (object_id.empty()) return std::string();
    std::string id;
    try {
      id = tab_.Call("DOM.describeNode", {{"objectId", object_id}}).value("node", Json::object()).value("frameId", "");
    } catch (const DevToolsError&) {
      // A frame element without a frame in it (not loaded, or taken out of the page).
    }
    tab_.Call("Runtime.releaseObject", {{"objectId", object_id}});
    return id;
  });
  if (frame_id.empty()) return std::nullopt;
  return World(frame_id);
}

void TabChannel::See(const Event& event, std::vector<live::FrameReport>* reports) {
  const bool ours = event.session_id == tab_.session();
  if ((event.method == "Target.detachedFromTarget" && event.params.value("sessionId", "") == tab_.session()) ||
      (event.method == "Target.targetDestroyed" && event.params.value("targetId", "") == tab_.target()) ||
      (ours && event.method == "Inspector.detached") ||
      // The page navigated away: what was picked on it is gone with it.
      (ours && event.method == "Runtime.executionContextsCleared")) {
    gone_ = true;
    return;
  }
  if (!ours || event.method != "Runtime.bindingCalled" || event.params.value("name", "") != kBinding) return;
  Json payload = Json::parse(event.params.value("payload", ""), nullptr, false);
  reports->push_back(live::FrameReport{event.params.value("executionContextId", 0), std::move(payload)});
}

bool TabChannel::Wait(Clock::time_point deadline, std::vector<live::FrameReport>* reports) {
  auto take = [&](const Event& event) { See(event, reports); };
  try {
    tab_.client().DrainEvents(take);
    if (reports->empty() && !gone_) {
      // Any event ends the wait; those that are not reports are seen (and dropped) on the way.
      if (auto event = tab_.client().WaitForEvent([](const Event&) { return true; }, deadline)) take(*event);
      tab_.client().DrainEvents(take);
    }
  } catch (const DevToolsError&) {
    gone_ = true;
  }
  return !gone_;
}

}  // namespace ph::cdp
