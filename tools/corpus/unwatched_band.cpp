// A band that nobody watches, for the trials on generated pages.
#include "tools/corpus/unwatched_band.h"

#include <unistd.h>

#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/url.h"

namespace ph::corpus {

UnwatchedBand::UnwatchedBand(const std::string& folder_prefix) {
  static int counter = 0;
  folder_ = std::filesystem::temp_directory_path() /
            (folder_prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(folder_);
  files_ = MakeSystemFileSystem(folder_.string() + "/");
  urls_ = MakeSystemUrlPort();
  code_page_ = MakeSystemCodePage();
  engine_ = std::make_unique<SelectionEngine>(EnginePorts{browser_, toolbar_, events_, timers_, messages_, link_,
                                                          registry_, *files_, *urls_, *code_page_});
}

UnwatchedBand::~UnwatchedBand() {
  engine_.reset();
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

std::shared_ptr<MemoryDocument> UnwatchedBand::Show(const std::string& html, const std::string& url) {
  auto document = MemoryDocument::Parse(html, Utf8ToUtf16(url));
  browser_.top = document;
  return document;
}

void UnwatchedBand::FireTimers() {
  while (!timers_.started.empty()) {
    const int id = timers_.started.front();
    timers_.started.erase(timers_.started.begin());
    engine_->OnTimer(id);
  }
}

}  // namespace ph::corpus
