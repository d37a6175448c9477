// Whole-file reads and binary output streams over the standard library.
#include "platform/file_streams.h"

#include <fstream>

namespace ph {

StreamFileSystem::StreamFileSystem(std::string module_folder) : module_folder_(std::move(module_folder)) {
  if (module_folder_.empty() || module_folder_.back() != kPathSeparator) module_folder_ += kPathSeparator;
}

std::unique_ptr<std::ostream> StreamFileSystem::OpenWrite(const std::string& path, bool append) {
  auto out = std::make_unique<std::ofstream>(
      path, std::ios::binary | std::ios::out | (append ? std::ios::app : std::ios::trunc));
  if (!out->is_open()) return nullptr;
  return out;
}

std::optional<Bytes> StreamFileSystem::ReadAll(const std::string& path, std::size_t max_bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > max_bytes) return std::nullopt;
  in.seekg(0, std::ios::beg);
  Bytes data(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size)) return std::nullopt;
  return data;
}

bool WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& bytes) {
  const std::unique_ptr<std::ostream> out = fs.OpenWrite(path, false);
  if (!out) return false;
  out->write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out->flush();
  return static_cast<bool>(*out);
}

}  // namespace ph
