// Loading pages and their frames for the command-line band.
#include "tools/grab/page_loader.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "common/utf8.h"
#include "platform/fetch.h"
#include "platform/url.h"
#include "tools/grab/browser_pages.h"
#include "tools/grab/page_encoding.h"

namespace ph::grab {
namespace {

// Pages larger than this are refused rather than parsed.
constexpr std::uintmax_t kMaxPageBytes = 64ull * 1024 * 1024;

std::optional<std::string> ReadLocalFile(const std::string& path, std::string* error) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    *error = "cannot read " + path + ": " + ec.message();
    return std::nullopt;
  }
  if (size > kMaxPageBytes) {
    *error = path + " is larger than a page can be (" + std::to_string(kMaxPageBytes >> 20) + " MB)";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) {
    *error = "cannot read " + path;
    return std::nullopt;
  }
  return text.str();
}

}  // namespace

bool IsWebUrl(std::string_view page) {
  const std::string scheme = UrlScheme(page);
  return (scheme == "http" || scheme == "https") && page.substr(scheme.size() + 1, 2) == "//";
}

std::string FileUrl(const std::string& path) {
  std::error_code ec;
  const std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
  std::string url = "file://";
  AppendPercentEscaped(
      absolute,
      [](unsigned char c) { return !std::isalnum(c) && std::string_view("/-._~").find(static_cast<char>(c)) == std::string_view::npos; },
      &url);
  return url;
}

PageLoader::Pending PageLoader::Ask(const std::string& url, std::uint32_t connect_timeout_ms) {
  Pending pending{url, std::nullopt};
  // Kept in memory: at most a few pages are under way at once.
  if (IsWebUrl(url)) pending.download = fetcher_.Start(FetchRequest{url, std::string(), connect_timeout_ms, kMaxPageBytes});
  return pending;
}

std::optional<std::string> PageLoader::Take(Pending& pending, std::string* content_type, std::string* error) {
  content_type->clear();
  const std::string& url = pending.url;
  if (IsWebUrl(url)) {
    FetchResult result;
    if (pending.download) result = fetcher_.Finish(*std::exchange(pending.download, std::nullopt));
    if (!result.ok) {
      *error = "cannot download " + url + (result.error.empty() ? "" : ": " + result.error);
      return std::nullopt;
    }
    *content_type = std::move(result.content_type);
    return std::move(result.body);
  }
  if (UrlScheme(url) == "file") {
    std::string path;
    if (!urls_.DecodedPath(url, &path)) {
      *error = "cannot read " + url;
      return std::nullopt;
    }
    return ReadLocalFile(path, error);
  }
  *error = "only files and http(s) URLs can be read: " + url;
  return std::nullopt;
}

std::vector<std::optional<FramePage>> PageLoader::LoadFrames(const std::vector<FrameRequest>& requests) {
  std::vector<std::optional<FramePage>> pages(requests.size());
  if (skip_frames_) return pages;
  // Every frame of the depth is asked for before any is taken, so their downloads run side by side.
  std::vector<std::pair<std::size_t, Pending>> asked;
  for (std::size_t i = 0; i < requests.size(); ++i) {
    std::string absolute;
    const std::string base = Utf16ToUtf8(requests[i].base_url);
    if (!urls_.Combine(base, Utf16ToUtf8(requests[i].src), &absolute)) continue;
    if (!MayBringIn(base, absolute) || frames_loaded_ >= kMaxFrameDocuments) continue;
    ++frames_loaded_;
    asked.emplace_back(i, Ask(absolute, kFrameConnectTimeoutMs));
  }
  for (auto& [i, pending] : asked) {
    std::string content_type, error;
    if (auto bytes = Take(pending, &content_type, &error))
      pages[i] = FramePage{Utf8ToUtf16(pending.url), DecodePage(*bytes, content_type)};
  }
  return pages;
}

std::string PageUrl(const std::string& page) {
  return IsWebUrl(page) || UrlScheme(page) == "file" ? page : FileUrl(page);
}

PageLoader::Pending PageLoader::Begin(const std::string& page) {
  const std::string url = PageUrl(page);
  if (browser_) return Pending{url, std::nullopt, browser_->Ask(url)};
  return Ask(url, 0);
}

std::shared_ptr<MemoryDocument> PageLoader::Finish(Pending& pending, std::string* error) {
  if (browser_) return browser_->Take(pending.rendering, pending.url, error);
  frames_loaded_ = 0;
  std::string content_type;
  auto bytes = Take(pending, &content_type, error);
  if (!bytes) return nullptr;
  const FrameBatchSource frames = [this](const std::vector<FrameRequest>& requests) { return LoadFrames(requests); };
  return MemoryDocument::Parse(DecodePage(*bytes, content_type), Utf8ToUtf16(pending.url), frames);
}

std::shared_ptr<MemoryDocument> PageLoader::Load(const std::string& page, std::string* error) {
  Pending pending = Begin(page);
  return Finish(pending, error);
}

}  // namespace ph::grab
