// Word counts, joins, hosts and data-file paths.
#include "band/engine/page_text.h"

#include <array>
#include <new>
#include <stdexcept>

#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/url.h"

namespace ph {

std::size_t CountWords(std::string_view text) {
  // Every page's text goes through here during "Auto Selection": a table and no branches.
  static constexpr auto kSpace = [] {
    std::array<bool, 256> t{};
    t[' '] = t['\t'] = t['\r'] = t['\n'] = true;
    return t;
  }();
  std::size_t words = 0;
  bool after_space = true;
  for (char c : text) {
    const bool space = kSpace[static_cast<unsigned char>(c)];
    words += after_space && !space;
    after_space = space;
  }
  return words;
}

std::size_t CountWords(WideView text) {
  std::size_t words = 0;
  bool after_space = true;
  for (char16_t c : text) {
    const bool space = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
    words += after_space && !space;
    after_space = space;
  }
  return words;
}

WideString AppendWithSeparator(std::optional<WideString> accumulated, const WideString* separator,
                               const WideString* piece) {
  WideString base = accumulated ? std::move(*accumulated) : WideString();
  try {
    WideString joined;
    joined.reserve(base.size() + (separator ? separator->size() : 0) + (piece ? piece->size() : 0));
    joined += base;
    if (separator) joined += *separator;
    if (piece) joined += *piece;
    return joined;
  } catch (const std::bad_alloc&) {
    return base;
  } catch (const std::length_error&) {
    return base;
  }
}

std::string HostOfDocument(Document& document, UrlPort& urls, const CodePage& code_page) {
  const auto url = document.Url();
  if (!url) return {};
  std::string host;
  if (!urls.Host(code_page.ToAnsi(*url), &host)) return {};
  host.resize(Utf8Prefix(host, kMaxHostLength).size());
  return host;
}

std::string ModuleFilePath(FileSystem& files, std::string_view name) {
  return ModuleFolderFile(files, name);
}

}  // namespace ph
