// The "HTML Format" block over any title, address, style and fragment: its offsets always describe it.
#include <cstdlib>
#include <string>

#include "controller/outputs/cf_html.h"

namespace {

std::size_t Offset(const std::string& block, const char* name) {
  const std::size_t at = block.find(name);
  if (at == std::string::npos) std::abort();
  return std::stoul(block.substr(at + std::char_traits<char>::length(name), 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input is cut into the four parts at its first three zero bytes.
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view parts[4];
  std::size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t end = i < 3 ? std::min(input.find('\0', start), input.size()) : input.size();
    parts[i] = input.substr(std::min(start, input.size()), end - std::min(start, input.size()));
    start = end + 1;
  }
  const std::optional<std::string> block = ph::BuildCfHtml({parts[0], parts[1], parts[2], parts[3]});
  if (!block) return 0;
  const std::size_t html = Offset(*block, "StartHTML:"), end = Offset(*block, "EndHTML:");
  const std::size_t from = Offset(*block, "StartFragment:"), to = Offset(*block, "EndFragment:");
  if (html != 97 || end != block->size() || !(html <= from && from <= to && to <= end)) std::abort();
  if (block->compare(from, 20, "<!--StartFragment-->") != 0) std::abort();
  if (block->compare(to - 20, 20, "<!--EndFragment-->\r\n") != 0) std::abort();
  if (block->compare(from + 22, parts[3].size(), parts[3]) != 0) std::abort();
  return 0;
}
