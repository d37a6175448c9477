// Whole-file reads and binary output streams over the standard library (narrow paths are ANSI on
// Windows, as the rest of the controller's paths are).
#include "platform/file_streams.h"

#include <fstream>

namespace ph {

std::unique_ptr<std::ostream> OpenBinaryOutput(const std::string& path, bool append) {
  auto out = std::make_unique<std::ofstream>(
      path, std::ios::binary | std::ios::out | (append ? std::ios::app : std::ios::trunc));
  if (!out->is_open()) return nullptr;
  return out;
}

std::optional<Bytes> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
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

}  // namespace ph
