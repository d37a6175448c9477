// Finding or starting the controller, and packing and delivering the hand-off.
#include "band/shell/controller_link.h"

#include "band/engine/extraction.h"
#include "common/settings_names.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/user.h"

namespace ph {
namespace {

// The path up to its first zero byte; false when the value is missing, too long or not REG_SZ.
bool ReadControllerPath(RegistryKey* key, std::string* path) {
  if (!key) return false;
  RegistryValue value;
  if (key->Query(reg::kControllerPath, kControllerPathBytes, &value) != QueryStatus::kOk) return false;
  if (value.type != RegistryType::kString) return false;
  const auto* bytes = reinterpret_cast<const char*>(value.data.data());
  std::size_t length = 0;
  while (length < value.data.size() && bytes[length] != 0) ++length;
  // The buffer holds the terminator too, so 260 bytes of text do not fit.
  if (length >= kControllerPathBytes) return false;
  path->assign(bytes, length);
  return true;
}

}  // namespace

void ControllerLink::ShowError(const char* text) {
  Message message;
  message.text = text;
  message.caption = "Error";
  message.icon = MessageIcon::kError;
  messages_.Show(MessageOwner::kControlWindow, message);
}

ControllerWindow ControllerLink::FindController() {
  if (ControllerWindow window = process_.FindControllerWindow()) return window;

  auto key = registry_.Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kReadWrite);
  if (!key) ShowError("Failed to open key");
  std::string path;
  if (!ReadControllerPath(key.get(), &path)) {
    ShowError("Failed to get controller path");
    return 0;
  }
  key.reset();

  process_.Launch(path);
  const std::uint32_t start = clock_.TickCount();
  for (;;) {
    clock_.Sleep(kProbeIntervalMs);
    if (ControllerWindow window = process_.FindControllerWindow()) return window;
    // Unsigned difference: a wrap of the tick counter does not end the wait early or late.
    if (clock_.TickCount() - start > kStartWaitMs) break;
  }
  // Dropping the selection without a word would look like a save that went through.
  ShowError(kControllerDidNotStart);
  return 0;
}

void ControllerLink::Send(const DocumentPtr& top, const OutgoingContent& content) {
  const ControllerWindow window = FindController();
  if (!window) return;
  const Bytes record = PackHandoffRecord(OutgoingFields(top, content));
  if (record.empty()) return;
  process_.Deliver(window, record, content.layout_id, content.quick_save);
}

}  // namespace ph
