// Whole-file reads and binary output streams over the standard library.
#include "platform/file_streams.h"

#include <fstream>
#include <random>

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
  // Written beside the file first and put in its place in one step, so that a write cut short (a
  // full disk, a crash) leaves the old file whole. The random part keeps two writers apart.
  const std::string temporary = path + ".new-" + std::to_string(std::random_device{}());
  bool written = false;
  if (std::unique_ptr<std::ostream> out = fs.OpenWrite(temporary, false)) {
    out->write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out->flush();
    written = static_cast<bool>(*out);
  } else {
    return false;
  }
  if (written && fs.MoveReplacing(temporary, path)) return true;
  fs.RemoveFile(temporary);
  return false;
}

}  // namespace ph
