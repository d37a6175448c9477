// Reading and appending to quick's journal of saved pages.
#include "tools/grab/quick_journal.h"

#include "platform/file_system.h"

namespace ph::grab {
namespace {

constexpr std::size_t kMaxJournal = 256u << 20;

}  // namespace

QuickJournal::QuickJournal(FileSystem& files) : files_(files), path_(ModuleFolderFile(files, kJournalFileName)) {}

void QuickJournal::Read() {
  const auto bytes = files_.ReadAll(path_, kMaxJournal);
  if (!bytes) return;
  const std::string text(bytes->begin(), bytes->end());
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) saved_.insert(text.substr(start, end - start));
    start = end + 1;
  }
}

void QuickJournal::Note(const std::string& url) {
  // Addresses hold no line breaks: a file's is percent-escaped, and a URL cannot carry one.
  if (url.find('\n') != std::string::npos) return;
  AppendToFile(files_, path_, url + "\n");
  saved_.insert(url);
}

}  // namespace ph::grab
