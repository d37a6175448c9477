// Unpacks arbitrary bytes as a hand-off record, packs the result and unpacks it again.
#include <cstdlib>

#include "common/handoff_record.h"
#include "controller/intake/intake_item.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so that any read past the end is caught.
  std::vector<std::uint8_t> exact(data, data + size);
  const ph::HandoffFields fields = ph::UnpackHandoffRecord(exact.data(), exact.size());
  const ph::Bytes packed = ph::PackHandoffRecord(fields);
  if (ph::UnpackHandoffRecord(packed.data(), packed.size()) != fields) std::abort();
  ph::Windows1252 code_page;
  (void)ph::MakeIntakeItem(fields, code_page);
  return 0;
}
