// Packing and unpacking of the hand-off record.
#include "common/handoff_record.h"

namespace ph {

Bytes PackHandoffRecord(const HandoffFields& fields) {
  std::size_t units = 0;
  for (const WideString& f : fields) units += f.size() + 1;

  Bytes out;
  out.reserve(units * 2);
  for (const WideString& f : fields) {
    for (char16_t c : f) {
      if (c == 0) break;
      out.push_back(static_cast<std::uint8_t>(c & 0xFF));
      out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
  }
  return out;
}

HandoffFields UnpackHandoffRecord(const void* data, std::size_t cb_data) {
  HandoffFields fields;
  const auto* p = static_cast<const std::uint8_t*>(data);
  // A trailing odd byte cannot hold a unit and is ignored.
  const std::size_t units = data ? cb_data / 2 : 0;
  std::size_t at = 0;
  for (WideString& field : fields) {
    if (at >= units) break;
    std::size_t end = at;
    while (end < units && (p[2 * end] | p[2 * end + 1]) != 0) ++end;
    field.reserve(end - at);
    for (std::size_t i = at; i < end; ++i)
      field.push_back(static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8));
    at = end + 1;
  }
  return fields;
}

}  // namespace ph
