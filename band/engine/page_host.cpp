// The host of a page's URL, cut to the length the data files keep, and paths beside the band library.
#include "band/engine/page_host.h"

#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/url.h"

namespace ph {

std::string HostOfDocument(Document& document, UrlPort& urls, const CodePage& code_page) {
  const auto url = document.Url();
  if (!url) return {};
  std::string host;
  if (!urls.Host(code_page.ToAnsi(*url), &host)) return {};
  host.resize(Utf8Prefix(host, kMaxHostLength).size());
  return host;
}

std::string ModuleFilePath(FileSystem& files, std::string_view name) { return ModuleFolderFile(files, name); }

}  // namespace ph
