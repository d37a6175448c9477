// Refusing pages that look like URLs grab cannot read, before they are taken for file names.
#include "tools/grab/page_address.h"

#include <filesystem>

#include "platform/url.h"

namespace ph::grab {

std::optional<std::string> PageAddressMistake(const std::string& page) {
  const std::string scheme = UrlScheme(page);
  if (scheme.empty() || scheme == "file") return std::nullopt;
  const std::string rest = page.substr(scheme.size() + 1);
  if ((scheme == "http" || scheme == "https") && rest.rfind("//", 0) == 0) return std::nullopt;
  // A file may be named like that, after all.
  std::error_code ec;
  if (std::filesystem::exists(page, ec)) return std::nullopt;
  const std::string refusal = "'" + page + "' is neither a file nor an http(s) URL";
  const std::size_t start = rest.find_first_not_of('/');
  const std::string after_slashes = start == std::string::npos ? std::string() : rest.substr(start);
  // "host:8080/path": what reads as a scheme is a host, and a port follows.
  if (scheme.find('.') != std::string::npos || (!rest.empty() && rest[0] >= '0' && rest[0] <= '9'))
    return refusal + "; did you mean http://" + page + " ?";
  // "htp:", "htps:", "http:/" and the like: http(s) misspelt.
  const bool secure = scheme.size() > 1 && scheme.compare(scheme.size() - 2, 2, "ps") == 0;
  const bool like_http = scheme.size() >= 3 && scheme.size() <= 6 && scheme[0] == 'h' &&
                         (scheme.back() == 'p' || secure);
  if (like_http) return refusal + "; did you mean " + (secure ? "https://" : "http://") + after_slashes + " ?";
  return refusal + ": grab reads pages from files and http(s) URLs, not " + scheme + ":";
}

}  // namespace ph::grab
