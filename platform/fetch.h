// The fetch port: copies what a URL names into a local file, from the browser's cache or the network.
#pragma once

#include <map>
#include <memory>

#include "common/base.h"

namespace ph {

// Bounds of one download, so that a server that never finishes cannot hold the caller for ever.
struct FetchLimits {
  std::uint32_t timeout_ms = 60 * 1000;  // the whole transfer, connecting included
  std::uint64_t max_bytes = 256ull * 1024 * 1024;
  // The most downloads under way at once where copies run side by side; more wait their turn.
  std::size_t parallel = 8;
};

// One copy asked of a fetcher ahead of time, and what became of it.
struct FetchRequest {
  std::string url;
  // The file to copy into; empty keeps the content in memory instead (FetchResult::body), where the
  // fetcher can (natively; the sequential default copies into files only).
  std::string path;
  // Gives up on a server that has not taken the connection within this time; 0: the transfer's
  // whole bound alone applies.
  std::uint32_t connect_timeout_ms = 0;
  // A tighter bound on the size than the fetcher's own; 0: the fetcher's.
  std::uint64_t max_bytes = 0;
};
struct FetchResult {
  bool ok = false;
  std::string content_type;  // as FetchTyped gives it
  std::string body;          // the content, when it was kept in memory
  // Why a copy failed, where the platform says: "HTTP 404", "Could not resolve host: x" ...
  std::string error;
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

  // Copies made ahead of time. Start asks for a copy and Finish waits for it and says how it went
  // (once per ticket). Where the platform can, the copies started run side by side, all of them
  // moving on whenever the caller waits in Finish for any one; by default Start makes the copy in
  // full before it returns, so that copies run one after another.
  using Ticket = std::uint64_t;
  virtual Ticket Start(const FetchRequest& request);
  virtual FetchResult Finish(Ticket ticket);
  // Starts them all, then finishes them all: the outcomes in the order of the requests.
  std::vector<FetchResult> FetchAll(const std::vector<FetchRequest>& requests);

 private:
  Ticket last_ticket_ = 0;
  std::map<Ticket, FetchResult> made_;  // copies Start made, until Finish is asked for them
};

// Windows: the WinINet URL cache first, then a WinINet download. Natively: a libcurl download
// (there is no browser cache). http, https and ftp URLs are fetched, and file: URLs copied; which
// file: URLs may be asked for is the caller's to decide (a page from the network must not name the
// user's files).
std::unique_ptr<Fetcher> MakeSystemFetcher(FetchLimits limits = {});

}  // namespace ph
