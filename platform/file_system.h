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
  // The whole file when it exists and holds at most max_bytes; nothing otherwise.
  virtual std::optional<Bytes> ReadAll(const std::string& path, std::size_t max_bytes) = 0;
};

// Replaces the file with the bytes, in one step; false (and the old file as it was) when they could
// not be written in full.
bool WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& bytes);

// Folder of the module plus a file name: where both deliverables keep their data files.
inline std::string ModuleFolderFile(FileSystem& fs, std::string_view name) {
  return fs.ModuleFolder() + std::string(name);
}

// The machine's own file system. module_folder overrides where ModuleFolder points (an empty
// string keeps the folder of the running executable, or on Windows of module_handle when given).
std::unique_ptr<FileSystem> MakeSystemFileSystem(std::string module_folder = {}, void* module_handle = nullptr);

}  // namespace ph
