// Loads a page, from a file or an http(s) URL, into an in-memory document, with its frames.
#pragma once

#include <memory>

#include "band/memdoc/memory_document.h"
#include "platform/fetch.h"

namespace ph {

class UrlPort;

namespace grab {

class BrowserPages;

class PageLoader {
 public:
  // The most frame documents one page brings in, at all depths together: a page that frames
  // itself many times over must not multiply the loads.
  static constexpr std::size_t kMaxFrameDocuments = 64;
  // How long a frame's server may take to take the connection: a frame is a small part of a page,
  // and a host that does not answer must not hold the page up.
  static constexpr std::uint32_t kFrameConnectTimeoutMs = 1000;

  // A page asked for ahead of its load: its download may be under way.
  struct Pending {
    std::string url;
    std::optional<Fetcher::Ticket> download;  // none for files, which are read when the page is loaded
    std::size_t rendering = 0;                 // the page in the browser's tabs, with --browser
  };

  PageLoader(Fetcher& fetcher, UrlPort& urls) : fetcher_(fetcher), urls_(urls) {}

  // The page named by a file path or a URL; null with the reason in *error when it cannot be had.
  std::shared_ptr<MemoryDocument> Load(const std::string& page, std::string* error);
  // The same in two steps: Begin starts the page's download, which moves on while other pages are
  // finished, and Finish waits for it and loads the page with its frames.
  Pending Begin(const std::string& page);
  std::shared_ptr<MemoryDocument> Finish(Pending& pending, std::string* error);
  // From now on pages are taken as the browser renders them instead of as fetched (null: fetched).
  void RenderWith(BrowserPages* browser) { browser_ = browser; }
  // Frames then hold empty documents instead of their pages.
  void SkipFrames(bool skip) { skip_frames_ = skip; }

 private:
  // A download for http(s); file URLs are read by Take.
  Pending Ask(const std::string& url, std::uint32_t connect_timeout_ms);
  // The bytes of an asked URL, with the server's Content-Type for a download (none for files).
  std::optional<std::string> Take(Pending& pending, std::string* content_type, std::string* error);
  std::vector<std::optional<FramePage>> LoadFrames(const std::vector<FrameRequest>& requests);

  Fetcher& fetcher_;
  UrlPort& urls_;
  BrowserPages* browser_ = nullptr;
  bool skip_frames_ = false;
  std::size_t frames_loaded_ = 0;  // frame documents asked for by the page being loaded
};

// Whether the text is a URL grab downloads (http or https), rather than a file.
bool IsWebUrl(std::string_view page);
// The file: URL of a local path (made absolute and percent-escaped where needed).
std::string FileUrl(const std::string& path);
// The URL of a page as the command line names it: a URL as it is, a file by its file: URL.
std::string PageUrl(const std::string& page);

}  // namespace grab
}  // namespace ph
