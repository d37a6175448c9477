// Loads a page, from a file or an http(s) URL, into an in-memory document, with its frames.
#pragma once

#include <memory>

#include "band/memdoc/memory_document.h"

namespace ph {

class Fetcher;
class UrlPort;

namespace grab {

class BrowserPages;

class PageLoader {
 public:
  // The most frame documents one page brings in, at all depths together: a page that frames
  // itself many times over must not multiply the loads.
  static constexpr std::size_t kMaxFrameDocuments = 64;

  PageLoader(Fetcher& fetcher, UrlPort& urls, std::string scratch_folder)
      : fetcher_(fetcher), urls_(urls), scratch_(std::move(scratch_folder)) {}

  // The page named by a file path or a URL; null with the reason in *error when it cannot be had.
  std::shared_ptr<MemoryDocument> Load(const std::string& page, std::string* error);
  // From now on pages are taken as the browser renders them instead of as fetched (null: fetched).
  void RenderWith(BrowserPages* browser) { browser_ = browser; }

 private:
  // The bytes a URL names: a download for http(s), with the server's Content-Type, or a read for
  // file URLs (no Content-Type).
  std::optional<std::string> Read(const std::string& url, std::string* content_type, std::string* error);
  std::optional<FramePage> LoadFrame(const WideString& src, const WideString& base_url);

  Fetcher& fetcher_;
  UrlPort& urls_;
  std::string scratch_;
  BrowserPages* browser_ = nullptr;
  std::size_t frames_loaded_ = 0;  // frame documents asked for by the page being loaded
};

// Whether the text is a URL grab downloads (http or https), rather than a file.
bool IsWebUrl(std::string_view page);
// The file: URL of a local path (made absolute and percent-escaped where needed).
std::string FileUrl(const std::string& path);

}  // namespace grab
}  // namespace ph
