// The fetch port over libcurl: there is no browser cache natively, so every fetch is a download.
#include "platform/fetch.h"

#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace ph {
namespace {

// How long one wait for the network lasts before curl's own timers are looked at again.
constexpr int kPollMs = 1000;
// Connections to one host at once, as browsers keep them: a small server takes only a few
// connections into its queue and drops the rest, which then wait a second to try again.
constexpr long kConnectionsPerHost = 6;

struct CurlFree {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiFree {
  void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct FileClose {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// A download under way: written to a file of its own beside the target and moved over the target
// only when complete, or kept in memory when there is no target.
struct Transfer {
  Fetcher::Ticket ticket = 0;
  std::string path;
  std::string partial;
  std::unique_ptr<std::FILE, FileClose> file;
  std::string body;
  std::unique_ptr<CURL, CurlFree> curl;
  std::uint64_t written = 0;
  std::uint64_t max_bytes = 0;
  bool failed = false;
  char error[CURL_ERROR_SIZE] = {};
};

// The words of a failed transfer: the server's status, or what curl says went wrong.
std::string FailureOf(CURL* curl, CURLcode code, const Transfer& t) {
  if (t.failed && t.written > t.max_bytes) return "larger than " + std::to_string(t.max_bytes) + " bytes";
  long status = 0;
  if (code == CURLE_HTTP_RETURNED_ERROR && curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK)
    return "HTTP " + std::to_string(status);
  if (t.error[0] != '\0') return t.error;
  return code != CURLE_OK ? curl_easy_strerror(code) : "the copy could not be written";
}

// The mode a file made now gets, as the user's umask says (mkstemp makes its files 0600).
mode_t UmaskMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::size_t WriteChunk(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  t->written += bytes;
  if (t->written > t->max_bytes) {
    t->failed = true;
    return 0;  // makes curl abandon the transfer
  }
  if (!t->file) {
    t->body.append(data, bytes);
    return bytes;
  }
  if (std::fwrite(data, 1, bytes, t->file.get()) != bytes) {
    t->failed = true;
    return 0;  // makes curl abandon the transfer
  }
  return bytes;
}

// All downloads share one curl multi handle, driven from the calling thread: a copy started moves
// on whenever the caller waits for any copy, and connections to a server are kept for the next.
class CurlFetcher : public Fetcher {
 public:
  explicit CurlFetcher(FetchLimits limits) : limits_(limits), file_mode_(UmaskMode()) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (limits_.parallel == 0) limits_.parallel = 1;
    multi_.reset(curl_multi_init());
    if (multi_) curl_multi_setopt(multi_.get(), CURLMOPT_MAX_HOST_CONNECTIONS, kConnectionsPerHost);
  }

  ~CurlFetcher() override {
    for (auto& [curl, transfer] : running_) {
      curl_multi_remove_handle(multi_.get(), curl);
      if (!transfer->file) continue;
      transfer->file.reset();
      std::remove(transfer->partial.c_str());
    }
  }

  bool Fetch(const std::string& url, const std::string& path) override {
    return Finish(Start(FetchRequest{url, path})).ok;
  }

  bool FetchTyped(const std::string& url, const std::string& path, std::string* content_type) override {
    FetchResult result = Finish(Start(FetchRequest{url, path}));
    *content_type = std::move(result.content_type);
    return result.ok;
  }

  Ticket Start(const FetchRequest& request) override {
    waiting_.push_back({++last_ticket_, request});
    Launch();
    // Connecting begins now, not at the next wait.
    if (multi_) curl_multi_perform(multi_.get(), &still_running_);
    return last_ticket_;
  }

  FetchResult Finish(Ticket ticket) override {
    for (;;) {
      const auto it = finished_.find(ticket);
      if (it != finished_.end()) {
        FetchResult result = std::move(it->second);
        finished_.erase(it);
        return result;
      }
      if (!Pending(ticket) || !multi_) return {};
      Progress();
    }
  }

 private:
  bool Pending(Ticket ticket) const {
    for (const auto& [curl, transfer] : running_)
      if (transfer->ticket == ticket) return true;
    for (const auto& [waiting, request] : waiting_)
      if (waiting == ticket) return true;
    return false;
  }

  // Begins waiting copies while fewer than the limit are under way.
  void Launch() {
    while (!waiting_.empty() && running_.size() < limits_.parallel) {
      auto [ticket, request] = std::move(waiting_.front());
      waiting_.pop_front();
      if (!Begin(ticket, request)) finished_[ticket].error = "the copy could not be begun";
    }
  }

  bool Begin(Ticket ticket, const FetchRequest& request) {
    if (!multi_) return false;
    auto t = std::make_unique<Transfer>();
    t->ticket = ticket;
    t->path = request.path;
    t->max_bytes = request.max_bytes > 0 ? std::min(request.max_bytes, limits_.max_bytes) : limits_.max_bytes;
    t->curl.reset(curl_easy_init());
    if (!t->curl) return false;
    if (!request.path.empty()) {
      const std::size_t cut = request.path.rfind('/');
      t->partial = (cut == std::string::npos ? std::string(".") : request.path.substr(0, cut)) + "/.phXXXXXX";
      const int fd = ::mkstemp(t->partial.data());
      if (fd < 0) return false;
      // The copy lands as any other file the user saves: pictures beside the page they belong to.
      ::fchmod(fd, file_mode_);
      t->file.reset(::fdopen(fd, "wb"));
      if (!t->file) {
        ::close(fd);
        std::remove(t->partial.c_str());
        return false;
      }
    }
    CURL* c = t->curl.get();
    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp,file");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Microsoft Internet Explorer");
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(limits_.timeout_ms));
    if (request.connect_timeout_ms > 0)
      curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connect_timeout_ms));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(t->max_bytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, t.get());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, t->error);
    if (curl_multi_add_handle(multi_.get(), c) != CURLM_OK) {
      if (t->file) {
        t->file.reset();
        std::remove(t->partial.c_str());
      }
      return false;
    }
    running_.emplace(c, std::move(t));
    return true;
  }

  // Moves every download on, waiting for the network when none has ended yet.
  void Progress() {
    curl_multi_perform(multi_.get(), &still_running_);
    bool ended = false;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_.get(), &left)) {
      if (message->msg != CURLMSG_DONE) continue;
      End(message->easy_handle, message->data.result);
      ended = true;
    }
    if (ended) {
      Launch();
      return;
    }
    curl_multi_poll(multi_.get(), nullptr, 0, kPollMs, nullptr);
  }

  void End(CURL* curl, CURLcode code) {
    const auto it = running_.find(curl);
    if (it == running_.end()) return;
    std::unique_ptr<Transfer> t = std::move(it->second);
    running_.erase(it);
    curl_multi_remove_handle(multi_.get(), curl);
    bool complete = code == CURLE_OK && !t->failed;
    if (t->file) {
      const bool closed = std::fclose(t->file.release()) == 0;
      complete = complete && closed && std::rename(t->partial.c_str(), t->path.c_str()) == 0;
      if (!complete) std::remove(t->partial.c_str());
    }
    FetchResult& result = finished_[t->ticket];
    if (!complete) {
      result.error = FailureOf(curl, code, *t);
      return;
    }
    result.ok = true;
    result.body = std::move(t->body);
    const char* type = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) result.content_type = type;
  }

  FetchLimits limits_;
  mode_t file_mode_;
  std::unique_ptr<CURLM, MultiFree> multi_;
  Ticket last_ticket_ = 0;
  int still_running_ = 0;
  std::deque<std::pair<Ticket, FetchRequest>> waiting_;
  std::map<CURL*, std::unique_ptr<Transfer>> running_;
  std::map<Ticket, FetchResult> finished_;
};

}  // namespace

std::unique_ptr<Fetcher> MakeSystemFetcher(FetchLimits limits) { return std::make_unique<CurlFetcher>(limits); }

}  // namespace ph
