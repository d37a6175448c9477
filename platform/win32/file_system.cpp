// The file-system port over the Win32 file functions (FindFirstFileA, CreateDirectoryA ...).
#include "platform/file_system.h"

#include <windows.h>

#include "platform/file_streams.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_paths.h"

namespace ph {
namespace {

std::string ModuleFolderOf(HMODULE module) {
  const std::string full = win::ModulePath(module);
  return full.substr(0, full.rfind('\\') + 1);
}

// A junction or a directory symbolic link: removing it must not reach what it points to.
bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

void RemoveTreeOf(const std::string& folder) {
  if (IsLink(::GetFileAttributesA(folder.c_str()))) {
    ::RemoveDirectoryA(folder.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  win::UniqueFind find(::FindFirstFileA((folder + "\\*").c_str(), &found));
  if (find) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (IsLink(found.dwFileAttributes) && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::RemoveDirectoryA(path.c_str());
      else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTreeOf(path);
      else
        ::DeleteFileA(path.c_str());
    } while (::FindNextFileA(find.get(), &found));
  }
  find.reset();
  ::RemoveDirectoryA(folder.c_str());
}

// LockFileEx on the first byte of an open lock file; closing the handle lets go of it.
class LockedFile : public FileLock {
 public:
  explicit LockedFile(win::UniqueFile file) : file_(std::move(file)) {}

 private:
  win::UniqueFile file_;
};

class Win32FileSystem : public StreamFileSystem {
 public:
  Win32FileSystem(std::string module_folder, HMODULE module)
      : StreamFileSystem(module_folder.empty() ? ModuleFolderOf(module) : std::move(module_folder)) {}

  bool Exists(const std::string& path) override {
    WIN32_FIND_DATAA found;
    return static_cast<bool>(win::UniqueFind(::FindFirstFileA(path.c_str(), &found)));
  }

  bool MakeFolders(const std::string& path) override {
    // Starts after the first backslash, so a drive root ("C:") is never created.
    for (std::size_t at = path.find('\\', path.find('\\') + 1); at != std::string::npos;
         at = path.find('\\', at + 1)) {
      const std::string folder = path.substr(0, at);
      if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    }
    return true;
  }

  void RemoveTree(const std::string& folder) override { RemoveTreeOf(folder); }

  bool RemoveFile(const std::string& path) override { return ::DeleteFileA(path.c_str()) != 0; }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  std::unique_ptr<FileLock> LockExclusive(const std::string& path) override {
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // A lock file another user made may be open to us for reading only, which LockFileEx takes as well.
    win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShare, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) file.reset(::CreateFileA(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    OVERLAPPED at = {};
    if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) return nullptr;
    return std::make_unique<LockedFile>(std::move(file));
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeSystemFileSystem(std::string module_folder, void* module_handle) {
  return std::make_unique<Win32FileSystem>(std::move(module_folder), static_cast<HMODULE>(module_handle));
}

}  // namespace ph
