// Loading pages and their frames for the command-line band.
#include "tools/grab/page_loader.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "band/memdoc/utf.h"
#include "controller/outputs/utf8.h"
#include "platform/fetch.h"
#include "platform/url.h"
#include "tools/grab/frame_policy.h"

namespace ph::grab {
namespace {

// Pages larger than this are refused rather than parsed.
constexpr std::uintmax_t kMaxPageBytes = 64ull * 1024 * 1024;

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (extra > 3 || extra > s.size() - i - 1) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

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

std::string PageTextAsUtf8(std::string_view bytes, const CodePage& code_page) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return AnsiToUtf8(bytes, code_page);
}

std::optional<std::string> PageLoader::Read(const std::string& url, std::string* error) {
  if (IsWebUrl(url)) {
    const std::string file = scratch_ + "/page.download";
    if (scratch_.empty() || !fetcher_.Fetch(url, file)) {
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
  std::string error;
  auto bytes = Read(absolute, &error);
  if (!bytes) return std::nullopt;
  return FramePage{Utf8ToUtf16(absolute), PageTextAsUtf8(*bytes, code_page_)};
}

std::shared_ptr<MemoryDocument> PageLoader::Load(const std::string& page, std::string* error) {
  const std::string url = IsWebUrl(page) || UrlScheme(page) == "file" ? page : FileUrl(page);
  frames_loaded_ = 0;
  auto bytes = Read(url, error);
  if (!bytes) return nullptr;
  return MemoryDocument::Parse(PageTextAsUtf8(*bytes, code_page_), Utf8ToUtf16(url),
                               [this](const WideString& src, const WideString& base) { return LoadFrame(src, base); });
}

}  // namespace ph::grab
