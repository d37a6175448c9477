// The half of the file-system port that both platforms build on the standard streams.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace ph {

// Files are read and written through the standard library (narrow paths are ANSI on Windows, as
// the rest of the program's paths are); each platform adds the folder operations.
class StreamFileSystem : public FileSystem {
 public:
  std::string ModuleFolder() override { return module_folder_; }
  std::unique_ptr<std::ostream> OpenWrite(const std::string& path, bool append) override;
  std::optional<Bytes> ReadAll(const std::string& path, std::size_t max_bytes) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  bool Truncate(const std::string& path, std::uint64_t size) override;

 protected:
  // The folder gets a closing separator when it lacks one.
  explicit StreamFileSystem(std::string module_folder);

 private:
  std::string module_folder_;
};

}  // namespace ph
