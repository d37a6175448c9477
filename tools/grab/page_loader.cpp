// Loading pages and their frames for the command-line band.
#include "tools/grab/page_loader.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/utf8.h"
#include "platform/fetch.h"
#include "platform/url.h"
#include "tools/grab/browser_pages.h"
#include "tools/grab/page_encoding.h"
#include "tools/grab/frame_policy.h"

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

std::optional<std::string> PageLoader::Read(const std::string& url, std::string* content_type, std::string* error) {
  content_type->clear();
  if (IsWebUrl(url)) {
    const std::string file = scratch_ + "/page.download";
    if (scratch_.empty() || !fetcher_.FetchTyped(url, file, content_type)) {
      *error = "cannot download " + url;
      return std::nullopt;
    }
    auto text = ReadLocalFile(file, error);
    std::filesystem::remove(file);
    return text;
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

std::optional<FramePage> PageLoader::LoadFrame(const WideString& src, const WideString& base_url) {
  std::string absolute;
  const std::string base = Utf16ToUtf8(base_url);
  if (!urls_.Combine(base, Utf16ToUtf8(src), &absolute)) return std::nullopt;
  if (!MayLoadFrame(base, absolute) || frames_loaded_ >= kMaxFrameDocuments) return std::nullopt;
  ++frames_loaded_;
  std::string content_type, error;
  auto bytes = Read(absolute, &content_type, &error);
  if (!bytes) return std::nullopt;
  return FramePage{Utf8ToUtf16(absolute), DecodePage(*bytes, content_type)};
}

std::shared_ptr<MemoryDocument> PageLoader::Load(const std::string& page, std::string* error) {
  const std::string url = IsWebUrl(page) || UrlScheme(page) == "file" ? page : FileUrl(page);
  if (browser_) return browser_->Load(url, error);
  frames_loaded_ = 0;
  std::string content_type;
  auto bytes = Read(url, &content_type, error);
  if (!bytes) return nullptr;
  return MemoryDocument::Parse(DecodePage(*bytes, content_type), Utf8ToUtf16(url),
                               [this](const WideString& src, const WideString& base) { return LoadFrame(src, base); });
}

}  // namespace ph::grab
