// The fetch port over WinINet: the browser's URL cache first, then a download.
#include "platform/fetch.h"

#include <windows.h>
#include <shlwapi.h>
#include <wininet.h>

#include "platform/code_page.h"
#include "platform/url.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_paths.h"

namespace ph {
namespace {

constexpr DWORD kChunk = 5000;

// A fresh file in the folder. The name is made in UTF-16: in UTF-8 a folder whose characters fit
// in MAX_PATH may take more bytes than that, which the ANSI call refuses.
std::string TempFileIn(const std::string& folder) {
  wchar_t name[MAX_PATH];
  if (!::GetTempFileNameW(win::WidePath(folder).c_str(), L"ph", 0, name)) return {};
  return MakeSystemCodePage()->ToAnsi(reinterpret_cast<const char16_t*>(name));
}

// A cached error page ("HTTP/1.1 404 ...") is no copy of the file.
bool IsCachedSuccess(const INTERNET_CACHE_ENTRY_INFOA& info) {
  if (!info.lpHeaderInfo || info.dwHeaderInfoSize < 12) return true;
  const std::string_view headers(info.lpHeaderInfo, info.dwHeaderInfoSize);
  if (headers.compare(0, 5, "HTTP/") != 0) return true;
  const std::size_t space = headers.find(' ');
  return space != std::string_view::npos && space + 1 < headers.size() && headers[space + 1] == '2';
}

class WininetFetcher : public Fetcher {
 public:
  explicit WininetFetcher(FetchLimits limits) : limits_(limits) {}

  bool Fetch(const std::string& url, const std::string& path) override {
    if (UrlScheme(url) == "file") return CopyLocal(url, path);
    if (!IsDownloadableUrl(url)) return false;
    // Written to a file of its own beside the target (a short name, so that a target near the
    // length limit still has room) and moved over the target only when complete.
    const std::size_t cut = path.find_last_of("\\/");
    const std::string folder = cut == std::string::npos ? "." : path.substr(0, cut);
    const std::string partial = TempFileIn(folder);
    if (partial.empty()) return false;
    if ((FromCache(url, partial) || Download(url, partial)) &&
        ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return true;
    }
    ::DeleteFileA(partial.c_str());
    return false;
  }

 private:
  // A local page's own file, copied as it is.
  bool CopyLocal(const std::string& url, const std::string& path) {
    char local[MAX_PATH];
    DWORD length = MAX_PATH;
    if (FAILED(::PathCreateFromUrlA(url.c_str(), local, &length, 0))) return false;
    return ::CopyFileA(local, path.c_str(), FALSE) != FALSE;
  }

  bool FromCache(const std::string& url, const std::string& target) {
    DWORD size = 0;
    if (::RetrieveUrlCacheEntryFileA(url.c_str(), nullptr, &size, 0) || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      return false;  // not in the cache
    }
    std::vector<std::uint64_t> buffer(size / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    if (!::RetrieveUrlCacheEntryFileA(url.c_str(), info, &size, 0)) return false;
    const std::uint64_t bytes = (static_cast<std::uint64_t>(info->dwSizeHigh) << 32) | info->dwSizeLow;
    const bool copied = IsCachedSuccess(*info) && bytes <= limits_.max_bytes &&
                        ::CopyFileA(info->lpszLocalFileName, target.c_str(), FALSE) != FALSE;
    ::UnlockUrlCacheEntryFileA(url.c_str(), 0);
    return copied;
  }

  bool Download(const std::string& url, const std::string& target) {
    const ULONGLONG start = ::GetTickCount64();
    win::UniqueHinternet session(
        ::InternetOpenA("Microsoft Internet Explorer", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return false;
    DWORD timeout = limits_.timeout_ms;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
      ::InternetSetOptionA(session.get(), option, &timeout, sizeof timeout);
    }
    win::UniqueHinternet request(::InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0, 0, 0));
    if (!request) return false;
    // An error page is not the picture that was asked for.
    DWORD status = 0;
    DWORD length = sizeof status;
    if (::HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr) &&
        (status < 200 || status > 299)) {
      return false;
    }
    // A connection that ends before the length the server promised is a download cut off, not a file.
    DWORD promised = 0;
    length = sizeof promised;
    const bool has_length = ::HttpQueryInfoA(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                             &promised, &length, nullptr) != FALSE;
    win::UniqueFile file(
        ::CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char chunk[kChunk];
    std::uint64_t total = 0;
    for (;;) {
      // A read waits until its whole buffer is filled, so each one asks only for what has arrived:
      // a server that sends a trickle is then still held to the time bound.
      DWORD available = 0;
      if (!::InternetQueryDataAvailable(request.get(), &available, 0, 0)) return false;
      DWORD read = 0;
      if (available > 0 && !::InternetReadFile(request.get(), chunk, available < kChunk ? available : kChunk, &read)) {
        return false;
      }
      if (read == 0) return !has_length || total == promised;
      total += read;
      DWORD written = 0;
      if (total > limits_.max_bytes || ::GetTickCount64() - start > limits_.timeout_ms ||
          !::WriteFile(file.get(), chunk, read, &written, nullptr) || written != read) {
        return false;
      }
    }
  }

  FetchLimits limits_;
};

}  // namespace

std::unique_ptr<Fetcher> MakeSystemFetcher(FetchLimits limits) { return std::make_unique<WininetFetcher>(limits); }

}  // namespace ph
