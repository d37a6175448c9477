// The one reading of a URL's scheme that every part of the program shares.
#include "platform/url.h"

#include "common/ascii.h"

namespace ph {

std::string UrlScheme(std::string_view url) {
  // scheme = letter *( letter / digit / "+" / "-" / "." ), then ":".
  std::string scheme;
  for (std::size_t i = 0; i < url.size(); ++i) {
    const char c = url[i];
    const bool letter = IsAsciiLetter(c);
    if (c == ':' && i > 0) return scheme;
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return {};
    scheme += LowerAscii(c);
  }
  return {};
}

bool IsDownloadableUrl(std::string_view url) {
  const std::string scheme = UrlScheme(url);
  return scheme == "http" || scheme == "https" || scheme == "ftp";
}

bool MayBringIn(std::string_view page_url, std::string_view url) {
  return IsDownloadableUrl(url) || (UrlScheme(url) == "file" && UrlScheme(page_url) == "file");
}

}  // namespace ph
