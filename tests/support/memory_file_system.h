// Files in memory for the tests: a file is written when its stream is closed, as on a disk.
#pragma once

#include <map>
#include <set>
#include <sstream>

#include "platform/file_system.h"

namespace ph::test {

class MemoryFileSystem : public FileSystem {
 public:
  explicit MemoryFileSystem(std::string module_folder = "/app/") : module_folder_(std::move(module_folder)) {}

  std::map<std::string, Bytes> files;
  std::set<std::string> folders;
  bool refuse_writes = false;

  bool Exists(const std::string& path) override { return files.count(path) || folders.count(path); }
  bool MakeFolders(const std::string&) override { return true; }
  void RemoveTree(const std::string& folder) override { folders.erase(folder); }
  bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    if (files.count(from) == 0) return false;
    files[to] = std::move(files[from]);
    files.erase(from);
    return true;
  }
  std::string ModuleFolder() override { return module_folder_; }

  std::unique_ptr<std::ostream> OpenWrite(const std::string& path, bool append) override {
    if (refuse_writes) return nullptr;
    if (!append) files[path].clear();
    return std::make_unique<CommittingStream>(&files[path]);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    if (files.count(path) == 0) return std::nullopt;
    return files[path].size();
  }
  bool Truncate(const std::string& path, std::uint64_t size) override {
    files[path].resize(size);
    return true;
  }
  std::optional<Bytes> ReadAll(const std::string& path, std::size_t max_bytes) override {
    const auto found = files.find(path);
    if (found == files.end() || found->second.size() > max_bytes) return std::nullopt;
    return found->second;
  }

  Bytes& operator[](const std::string& path) { return files[path]; }

 private:
  // Adds what was written to the file when the stream is destroyed, as closing a file would.
  class CommittingStream : public std::ostringstream {
   public:
    explicit CommittingStream(Bytes* file) : file_(file) {}
    ~CommittingStream() override {
      const std::string s = str();
      file_->insert(file_->end(), s.begin(), s.end());
    }

   private:
    Bytes* file_;
  };

  std::string module_folder_;
};

}  // namespace ph::test
