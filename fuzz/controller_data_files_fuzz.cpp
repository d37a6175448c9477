// Damaged "actions.dat" and "settings.dat": loading never crashes, and what loads saves and loads again alike.
#include <cstdlib>

#include "controller/intake/actions_file.h"
#include "controller/shell/settings.h"
#include "platform/memory_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ph::Bytes bytes(data, data + size);

  ph::ActionTable actions;
  ph::ParseActions(bytes.data(), bytes.size(), &actions);
  const ph::Bytes saved = ph::SerializeActions(actions);
  ph::ActionTable again;
  ph::ParseActions(saved.data(), saved.size(), &again);
  if (ph::SerializeActions(again) != saved) std::abort();

  ph::MemoryRegistry registry;
  if (registry.Restore(bytes)) {
    const ph::Bytes kept = registry.Serialize();
    ph::MemoryRegistry back;
    if (!back.Restore(kept) || back.Serialize() != kept) std::abort();
    // The settings read from it are written back without complaint.
    ph::SettingsRecord settings;
    ph::LoadSettings(registry, &settings);
    ph::SaveSettings(registry, settings, "");
  }
  return 0;
}
