// The file-system port over <filesystem>.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/file_streams.h"

namespace ph {
namespace {

namespace fs = std::filesystem;

std::string ExecutableFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return std::string(1, kPathSeparator);
  return exe.parent_path().string() + kPathSeparator;
}

// An flock on an open lock file; closing the descriptor lets go of it.
class FlockLock : public FileLock {
 public:
  explicit FlockLock(int fd) : fd_(fd) {}
  ~FlockLock() override { ::close(fd_); }
  FlockLock(const FlockLock&) = delete;
  FlockLock& operator=(const FlockLock&) = delete;

 private:
  int fd_;
};

class PosixFileSystem : public StreamFileSystem {
 public:
  explicit PosixFileSystem(std::string module_folder)
      : StreamFileSystem(module_folder.empty() ? ExecutableFolder() : std::move(module_folder)) {}

  bool Exists(const std::string& path) override {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::symlink_status(path, ec));
  }

  bool MakeFolders(const std::string& path) override {
    // Every folder on the way to the last component, starting after the first separator so the
    // root itself is never made.
    for (std::size_t at = path.find(kPathSeparator, 1); at != std::string::npos;
         at = path.find(kPathSeparator, at + 1)) {
      const std::string folder = path.substr(0, at);
      std::error_code ec;
      if (fs::is_directory(folder, ec)) continue;
      if (!fs::create_directory(folder, ec)) return false;
    }
    return true;
  }

  void RemoveTree(const std::string& folder) override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }

  bool RemoveFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  std::unique_ptr<FileLock> LockExclusive(const std::string& path) override {
    // A lock file another user made may be open to us for reading only, which flock takes as well.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto lock = std::make_unique<FlockLock>(fd);
    // A signal that grab waits out (Ctrl-C finishing the page in hand) does not end the wait.
    while (::flock(fd, LOCK_EX) != 0)
      if (errno != EINTR) return nullptr;
    return lock;
  }
};

}  // namespace

std::unique_ptr<FileSystem> MakeSystemFileSystem(std::string module_folder, void* /*module_handle*/) {
  return std::make_unique<PosixFileSystem>(std::move(module_folder));
}

}  // namespace ph
