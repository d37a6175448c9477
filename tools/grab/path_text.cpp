// The written form of element paths.
#include "tools/grab/path_text.h"

#include <cctype>

namespace ph::grab {

std::string PathToText(const ElementPath& path) {
  std::string text;
  for (const PathStep& step : path) {
    if (!text.empty()) text += '/';
    text += step.name + "[" + std::to_string(step.index) + "]";
  }
  return text;
}

std::optional<ElementPath> PathFromText(std::string_view text) {
  ElementPath path;
  if (text.empty() || text.back() == '/') return std::nullopt;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('/', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view step = text.substr(at, end - at);
    const std::size_t open = step.find('[');
    if (step.empty() || open == 0 || open == std::string_view::npos || step.back() != ']') return std::nullopt;
    const std::string_view digits = step.substr(open + 1, step.size() - open - 2);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    for (char c : digits)
      if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    path.push_back({std::string(step.substr(0, open)), std::stoi(std::string(digits))});
    at = end + 1;
  }
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace ph::grab
