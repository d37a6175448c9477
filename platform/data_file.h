// Data files that several processes change at once (the band of each browser window, grab, the
// extension's hosts): each change is made under the lock of their folder, on what the file holds then.
#pragma once

#include <memory>

#include "platform/file_system.h"

namespace ph {

// Holds the lock of the data files in the folder of data_file_path until it goes away; null when the
// lock file cannot be opened (a folder nobody may write in, where the change cannot be kept anyway).
std::unique_ptr<FileLock> LockDataFolder(FileSystem& files, const std::string& data_file_path);

// One data file as this process last read or wrote it. A change goes: lock the folder, ReadIfChanged
// (and take in what another process wrote meanwhile), apply the change, Write, unlock.
class DataFile {
 public:
  DataFile(FileSystem& files, std::string path, std::size_t max_bytes);

  // What the file holds; empty when it is missing, unreadable or larger than max_bytes.
  Bytes Read();
  // What the file holds, when that is not what this process last read or wrote.
  std::optional<Bytes> ReadIfChanged();
  // Replaces the file whole; true when it was.
  bool Write(const Bytes& bytes);

  const std::string& path() const { return path_; }

 private:
  FileSystem& files_;
  std::string path_;
  std::size_t max_bytes_;
  std::size_t seen_;  // a hash of the bytes last read or written
};

}  // namespace ph
