// The fetch port over libcurl: there is no browser cache natively, so every fetch is a download.
#include "platform/fetch.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace ph {
namespace {

struct CurlFree {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct FileClose {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

struct Transfer {
  std::FILE* file;
  std::uint64_t written = 0;
  std::uint64_t max_bytes;
  bool failed = false;
};

std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  t->written += bytes;
  if (t->written > t->max_bytes || std::fwrite(data, 1, bytes, t->file) != bytes) {
    t->failed = true;
    return 0;  // makes curl abandon the transfer
  }
  return bytes;
}

class CurlFetcher : public Fetcher {
 public:
  explicit CurlFetcher(FetchLimits limits) : limits_(limits) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  }

  bool Fetch(const std::string& url, const std::string& path) override {
    std::string content_type;
    return FetchTyped(url, path, &content_type);
  }

  bool FetchTyped(const std::string& url, const std::string& path, std::string* content_type) override {
    content_type->clear();
    // Written to a file of its own beside the target and moved over the target only when complete.
    const std::size_t cut = path.rfind('/');
    std::string partial = (cut == std::string::npos ? std::string(".") : path.substr(0, cut)) + "/.phXXXXXX";
    const int fd = ::mkstemp(partial.data());
    if (fd < 0) return false;
    std::unique_ptr<std::FILE, FileClose> file(::fdopen(fd, "wb"));
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!file || !curl) {
      if (!file) ::close(fd);
      std::remove(partial.c_str());
      return false;
    }
    Transfer transfer{file.get(), 0, limits_.max_bytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Microsoft Internet Explorer");
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.timeout_ms));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits_.max_bytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    const CURLcode result = curl_easy_perform(c);
    const char* type = nullptr;
    if (result == CURLE_OK && curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
      *content_type = type;
    const bool closed = std::fclose(file.release()) == 0;
    if (result != CURLE_OK || transfer.failed || !closed || std::rename(partial.c_str(), path.c_str()) != 0) {
      std::remove(partial.c_str());
      return false;
    }
    return true;
  }

 private:
  FetchLimits limits_;
};

}  // namespace

std::unique_ptr<Fetcher> MakeSystemFetcher(FetchLimits limits) { return std::make_unique<CurlFetcher>(limits); }

}  // namespace ph
