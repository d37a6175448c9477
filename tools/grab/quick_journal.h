// quick's journal in the data folder: the address of every page it saved, one a line, so that
// --skip-saved leaves them out when a run that was cut short is started again.
#pragma once

#include <set>
#include <string>

namespace ph {
class FileSystem;
}

namespace ph::grab {

inline constexpr char kJournalFileName[] = "quick-journal.txt";

class QuickJournal {
 public:
  explicit QuickJournal(FileSystem& files);

  // Reads the addresses of the pages saved before.
  void Read();
  bool SavedBefore(const std::string& url) const { return saved_.count(url) != 0; }
  // Notes a page saved now, at once, so that a run cut short keeps what it did.
  void Note(const std::string& url);

 private:
  FileSystem& files_;
  std::string path_;
  std::set<std::string> saved_;
};

}  // namespace ph::grab
