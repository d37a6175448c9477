// The file-system port: what the data files and the writers need of files and folders.
#pragma once

#include <ostream>
#include <memory>
#include <optional>

#include "common/base.h"

namespace ph {

// The separator of the platform's paths: '\\' on Windows, '/' natively.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The text before the last separator, or the whole path when it has none.
std::string FolderOfPath(std::string_view path);
// The text after the last separator, or the whole path when it has none.
std::string FileNameOfPath(std::string_view path);

// A lock on a file, held until the object goes away.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whether anything, file or folder, stands at the path.
  virtual bool Exists(const std::string& path) = 0;
  // Creates every missing folder on the way to the path's last component (not the component
  // itself); stops at the first folder that cannot be created and says whether all exist.
  virtual bool MakeFolders(const std::string& path) = 0;
  // Deletes a folder with everything in it; failures are ignored.
  virtual void RemoveTree(const std::string& folder) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Puts the file at from in the place of the one at to, in one step: a reader sees the old file
  // or the new one, never a mixture.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;

  // The folder of the running program (or of the band library), ending with a separator.
  virtual std::string ModuleFolder() = 0;

  // A binary stream that replaces the file, or appends to it; null when it cannot be opened.
  virtual std::unique_ptr<std::ostream> OpenWrite(const std::string& path, bool append) = 0;
  // The size of a file, or nothing when no plain file stands at the path (nothing at all, a folder,
  // a device).
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // Cuts a file back to size bytes (what an append that failed half way added goes again).
  virtual bool Truncate(const std::string& path, std::uint64_t size) = 0;
  // The whole file when it exists and holds at most max_bytes; nothing otherwise.
  virtual std::optional<Bytes> ReadAll(const std::string& path, std::size_t max_bytes) = 0;

  // Waits for the exclusive lock of the file at path, which other processes take as well, and holds
  // it until the returned object goes away; the file is made when missing. Null when the file can
  // be neither made nor opened. A lock is never taken twice in one process at once (the second
  // would wait for ever). A file system that no other process shares (one in memory) has nobody to
  // wait for: there the lock is a token.
  virtual std::unique_ptr<FileLock> LockExclusive(const std::string& path);
};

// How a write of a whole file or of an appended record went; reason is the system's word for a
// failure ("No space left on device").
struct WriteOutcome {
  enum Status { kWritten, kNotOpened, kNotWritten };
  Status status = kWritten;
  std::string reason;
  bool ok() const { return status == kWritten; }
};

// Replaces the file with the bytes, in one step: they are written beside it and moved into place,
// so a write cut short (a full disk, a crash) leaves the old file whole, or no file, never part of
// one. A file that exists but may not be written counts as not opened; what is not a file (a device,
// a pipe) is written where it stands.
WriteOutcome ReplaceFileWith(FileSystem& fs, const std::string& path, std::string_view bytes);
// Appends the bytes, creating the file when it is missing. An append that fails is cut off again,
// so the file never ends in half a record.
WriteOutcome AppendToFile(FileSystem& fs, const std::string& path, std::string_view bytes);
// ReplaceFileWith for the data files, which report no reason: true when the file was replaced.
bool WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& bytes);
// Whether the file may be replaced: nothing stands at the path, or a file that can be opened for
// writing (opening it to append changes nothing in it).
bool MayReplace(FileSystem& fs, const std::string& path);
// A name beside the path for a file that is moved into its place once it is complete.
std::string TemporaryBeside(const std::string& path);

// Folder of the module plus a file name: where both deliverables keep their data files.
inline std::string ModuleFolderFile(FileSystem& fs, std::string_view name) {
  return fs.ModuleFolder() + std::string(name);
}

// The machine's own file system. module_folder overrides where ModuleFolder points (an empty
// string keeps the folder of the running executable, or on Windows of module_handle when given).
std::unique_ptr<FileSystem> MakeSystemFileSystem(std::string module_folder = {}, void* module_handle = nullptr);

}  // namespace ph
