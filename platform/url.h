// The URL port: combining a reference with a base, and taking a URL apart.
#pragma once

#include <memory>

#include "common/base.h"
#include "common/hex.h"

namespace ph {

class UrlPort {
 public:
  virtual ~UrlPort() = default;

  // Resolves a reference against a base URL; false when the two cannot be combined.
  virtual bool Combine(std::string_view base, std::string_view reference, std::string* absolute) = 0;
  // The path of a URL with its escape sequences decoded (no query, no fragment); false on failure.
  virtual bool DecodedPath(std::string_view url, std::string* path) = 0;
  // The host name of a URL as written in it (case kept); false when the URL has none.
  virtual bool Host(std::string_view url, std::string* host) = 0;
};

// Appends the text to out with every byte for which escape(byte) holds written as "%" and two
// upper-case hexadecimal digits: the one percent escaper of the program.
template <typename Escape>
void AppendPercentEscaped(std::string_view text, Escape escape, std::string* out) {
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (escape(c)) {
      out->push_back('%');
      out->push_back(kHexUpper[c >> 4]);
      out->push_back(kHexUpper[c & 15]);
    } else {
      out->push_back(ch);
    }
  }
}

// Replaces every "%" with two hexadecimal digits by the byte they stand for; other text is kept.
std::string PercentDecode(std::string_view text);

// The scheme of a URL in lower case ("HTTP://x" gives "http"), or empty when the text begins with
// none (a relative reference); a Windows path such as C:\x reads as the one-letter scheme "c".
std::string UrlScheme(std::string_view url);
// Whether a download can fetch the URL: http, https or ftp.
bool IsDownloadableUrl(std::string_view url);
// Whether the page at page_url may bring in what url names (a frame, a picture, a style sheet): what
// a download fetches, into any page; a local file only into a local page, so that a page from the
// network cannot read the user's files into what is saved.
bool MayBringIn(std::string_view page_url, std::string_view url);

// WinINet on Windows, uriparser (RFC 3986) natively.
std::unique_ptr<UrlPort> MakeSystemUrlPort();

}  // namespace ph
