// Which frame sources a page may bring in as documents of its own.
#include "tools/grab/frame_policy.h"

#include "platform/url.h"

namespace ph::grab {

bool MayLoadFrame(std::string_view page_url, std::string_view frame_url) {
  const std::string frame = UrlScheme(frame_url);
  if (frame == "http" || frame == "https") return true;
  return frame == "file" && UrlScheme(page_url) == "file";
}

}  // namespace ph::grab
