// The URL port over uriparser (RFC 3986).
#include "platform/url.h"

#include <uriparser/Uri.h>

namespace ph {
namespace {

// A parsed URI that frees its members however it goes out of scope. It keeps the text it was
// parsed from, since uriparser points into it.
class ParsedUri {
 public:
  explicit ParsedUri(std::string text) : text_(std::move(text)) {
    const char* error = nullptr;
    ok_ = uriParseSingleUriA(&uri_, text_.c_str(), &error) == URI_SUCCESS;
  }
  ParsedUri() = default;
  ~ParsedUri() { uriFreeUriMembersA(&uri_); }
  ParsedUri(const ParsedUri&) = delete;
  ParsedUri& operator=(const ParsedUri&) = delete;

  bool ok() const { return ok_; }
  UriUriA* get() { return &uri_; }
  void MarkOk() { ok_ = true; }

 private:
  std::string text_;
  UriUriA uri_{};
  bool ok_ = false;
};

std::string Range(const UriTextRangeA& r) {
  return r.first && r.afterLast ? std::string(r.first, r.afterLast) : std::string();
}

// What a browser does before parsing: backslashes are slashes, and characters that may not stand
// in a URI (spaces, controls, non-ASCII bytes, a few punctuation marks) are percent-encoded.
std::string Prepare(std::string_view text) {
  std::string slashed(text);
  for (char& c : slashed)
    if (c == '\\') c = '/';
  std::string out;
  out.reserve(text.size());
  AppendPercentEscaped(
      slashed,
      [](unsigned char c) {
        return c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '^' || c == '`' || c == '{' ||
               c == '|' || c == '}';
      },
      &out);
  return out;
}

std::string ToText(UriUriA* uri) {
  int chars = 0;
  if (uriToStringCharsRequiredA(uri, &chars) != URI_SUCCESS) return {};
  std::string text(static_cast<std::size_t>(chars) + 1, '\0');
  if (uriToStringA(text.data(), uri, chars + 1, nullptr) != URI_SUCCESS) return {};
  text.resize(static_cast<std::size_t>(chars));
  return text;
}

// The same limits as the buffers the Windows implementation hands to WinINet.
constexpr std::size_t kMaxPath = 2000;
constexpr std::size_t kMaxHost = 255;

class UriparserUrlPort : public UrlPort {
 public:
  bool Combine(std::string_view base, std::string_view reference, std::string* absolute) override {
    ParsedUri b(Prepare(base));
    ParsedUri r(Prepare(reference));
    if (!b.ok() || !r.ok()) return false;
    ParsedUri joined;
    if (uriAddBaseUriA(joined.get(), r.get(), b.get()) != URI_SUCCESS) return false;
    joined.MarkOk();
    uriNormalizeSyntaxA(joined.get());
    *absolute = ToText(joined.get());
    return !absolute->empty();
  }

  bool DecodedPath(std::string_view url, std::string* path) override {
    ParsedUri u(Prepare(url));
    if (!u.ok() || !u.get()->scheme.first) return false;
    std::string text = u.get()->absolutePath || u.get()->hostText.first ? "/" : "";
    for (UriPathSegmentA* s = u.get()->pathHead; s; s = s->next) {
      text += Range(s->text);
      if (s->next) text += '/';
    }
    text = PercentDecode(text);
    if (text.size() >= kMaxPath) return false;
    *path = std::move(text);
    return true;
  }

  bool Host(std::string_view url, std::string* host) override {
    ParsedUri u(Prepare(url));
    if (!u.ok() || !u.get()->hostText.first) return false;
    std::string text = Range(u.get()->hostText);
    if (text.empty() || text.size() > kMaxHost) return false;
    *host = std::move(text);
    return true;
  }
};

}  // namespace

std::unique_ptr<UrlPort> MakeSystemUrlPort() { return std::make_unique<UriparserUrlPort>(); }

}  // namespace ph
