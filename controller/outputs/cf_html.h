// The "HTML Format" clipboard block: a header of byte offsets, then a small page around the fragment.
#pragma once

#include <optional>

#include "common/base.h"

namespace ph {

// The largest block whose offsets fit the header's eight digits.
inline constexpr std::size_t kMaxCfHtmlBytes = 99999999;

struct CfHtmlParts {
  std::string_view title;
  std::string_view url;
  std::string_view style;
  std::string_view fragment;
};

// The block without its closing zero byte, with StartHTML, EndHTML, StartFragment and EndFragment
// counted in bytes of the block as given; nothing when the block would be too large to describe.
std::optional<std::string> BuildCfHtml(const CfHtmlParts& parts);

}  // namespace ph
