// The URL port over WinINet (InternetCombineUrlA, InternetCrackUrlA).
#include "platform/url.h"

#include <windows.h>
#include <wininet.h>

namespace ph {
namespace {

// The buffers the callers have always handed to WinINet: a longer path or host fails.
constexpr DWORD kPathBuffer = 2000;
constexpr DWORD kHostBuffer = 256;

class WinInetUrlPort : public UrlPort {
 public:
  bool Combine(std::string_view base, std::string_view reference, std::string* absolute) override {
    const std::string b(base), r(reference);
    // First the size, then the combination. The error of the probe differs between WinINet
    // versions, so the size it reports is what counts.
    char probe[1];
    DWORD size = 0;
    if (::InternetCombineUrlA(b.c_str(), r.c_str(), probe, &size, 0)) return absolute->clear(), true;
    if (size == 0) return false;
    std::string out(size + 1, '\0');
    DWORD got = size + 1;
    if (!::InternetCombineUrlA(b.c_str(), r.c_str(), out.data(), &got, 0)) return false;
    out.resize(got);
    *absolute = std::move(out);
    return true;
  }

  bool DecodedPath(std::string_view url, std::string* path) override {
    return Crack(url, /*want_path=*/true, path);
  }

  bool Host(std::string_view url, std::string* host) override {
    return Crack(url, /*want_path=*/false, host) && !host->empty();
  }

 private:
  static bool Crack(std::string_view url, bool want_path, std::string* out) {
    const std::string u(url);
    char buffer[kPathBuffer] = {};
    char extra[kPathBuffer] = {};
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    if (want_path) {
      parts.lpszUrlPath = buffer;
      parts.dwUrlPathLength = kPathBuffer;
      // Asked for separately, the query and fragment stay out of the path.
      parts.lpszExtraInfo = extra;
      parts.dwExtraInfoLength = kPathBuffer;
    } else {
      parts.lpszHostName = buffer;
      parts.dwHostNameLength = kHostBuffer;
    }
    // Escapes are decoded here rather than by ICU_ESCAPE, which not every WinINet honours: decoding
    // exactly once is what keeps "%2541" from turning into "A".
    if (!::InternetCrackUrlA(u.c_str(), 0, 0, &parts)) return false;
    *out = want_path ? PercentDecode(buffer) : std::string(buffer);
    return true;
  }
};

}  // namespace

std::unique_ptr<UrlPort> MakeSystemUrlPort() { return std::make_unique<WinInetUrlPort>(); }

}  // namespace ph
