// Damaged "layouts.dat" and "selections.dat": loading never crashes, and what loads saves and loads again alike.
#include <cstdlib>

#include "band/engine/layout_store.h"
#include "band/engine/selection_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ph::Bytes bytes(data, data + size);

  ph::LayoutStore layouts;
  layouts.LoadBytes(bytes);
  const ph::Bytes saved = layouts.SaveBytes();
  ph::LayoutStore again;
  again.LoadBytes(saved);
  if (again.SaveBytes() != saved) std::abort();
  // Every loaded signature is compared with every other, as a page of its host would be.
  for (const auto& [id, entry] : layouts.entries()) {
    const std::int32_t found = layouts.FindLayout(entry.host, entry.signature);
    if (found == 0 || ph::Similarity(entry.signature, entry.signature) != 100.0f) std::abort();
  }

  ph::SelectionStore selections;
  selections.LoadBytes(bytes);
  const ph::Bytes kept = selections.SaveBytes();
  ph::SelectionStore back;
  back.LoadBytes(kept);
  if (back.SaveBytes() != kept) std::abort();
  return 0;
}
