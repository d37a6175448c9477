// The fetch port: copies what a URL names into a local file, from the browser's cache or the network.
#pragma once

#include <memory>

#include "common/base.h"

namespace ph {

// Bounds of one download, so that a server that never finishes cannot hold the caller for ever.
struct FetchLimits {
  std::uint32_t timeout_ms = 60 * 1000;  // the whole transfer, connecting included
  std::uint64_t max_bytes = 256ull * 1024 * 1024;
};

class Fetcher {
 public:
  virtual ~Fetcher() = default;
  // Copies the URL into the file at path, replacing it. Only a complete copy lands there: a failed
  // or cut-off transfer leaves the path as it was.
  virtual bool Fetch(const std::string& url, const std::string& path) = 0;
  // As Fetch, and says what the server called the content: its Content-Type, with the charset
  // that tells how a page's text is encoded. Empty when the server sent none or it is not known.
  virtual bool FetchTyped(const std::string& url, const std::string& path, std::string* content_type) {
    content_type->clear();
    return Fetch(url, path);
  }
};

// Windows: the WinINet URL cache first, then a WinINet download. Natively: a libcurl download
// (there is no browser cache). Only http, https and ftp URLs are fetched.
std::unique_ptr<Fetcher> MakeSystemFetcher(FetchLimits limits = {});

}  // namespace ph
