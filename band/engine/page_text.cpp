// Word counts, joins, hosts and data-file paths.
#include "band/engine/page_text.h"

#include <new>
#include <stdexcept>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/url.h"

namespace ph {

std::size_t CountWords(std::string_view text) {
  std::size_t words = 0;
  bool in_word = false;
  for (char c : text) {
    const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (!space && !in_word) ++words;
    in_word = !space;
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
  if (host.size() > kMaxHostLength) host.resize(kMaxHostLength);
  return host;
}

std::string ModuleFilePath(FileSystem& files, std::string_view name) {
  return ModuleFolderFile(files, name);
}

}  // namespace ph
