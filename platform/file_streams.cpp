// Whole-file reads and binary output streams over the standard library.
#include "platform/file_streams.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
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

std::optional<std::uint64_t> StreamFileSystem::FileSize(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  return size;
}

bool StreamFileSystem::Truncate(const std::string& path, std::uint64_t size) {
  std::error_code ec;
  std::filesystem::resize_file(path, size, ec);
  return !ec;
}

namespace {

// The system's word for the last failure of a stream, which reports it through errno.
std::string ReasonOf(int error) {
  return error != 0 ? std::strerror(error) : "the data could not be written in full";
}

// Writes the bytes to a stream and pushes them out of its buffer; the reason when that failed.
bool WriteAndFlush(std::ostream& out, std::string_view bytes, std::string* reason) {
  errno = 0;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (out) return true;
  *reason = ReasonOf(errno);
  return false;
}

}  // namespace

std::string TemporaryBeside(const std::string& path) {
  // The random part keeps two writers apart.
  return path + ".new-" + std::to_string(std::random_device{}());
}

bool MayReplace(FileSystem& fs, const std::string& path) {
  return !fs.Exists(path) || fs.OpenWrite(path, true) != nullptr;
}

namespace {

WriteOutcome Failed(WriteOutcome::Status status, std::string reason) { return {status, std::move(reason)}; }

// Opens the file and writes the bytes to it; how that went.
WriteOutcome WriteStream(FileSystem& fs, const std::string& path, bool append, std::string_view bytes) {
  errno = 0;
  std::unique_ptr<std::ostream> out = fs.OpenWrite(path, append);
  if (!out) return Failed(WriteOutcome::kNotOpened, ReasonOf(errno));
  std::string reason;
  if (!WriteAndFlush(*out, bytes, &reason)) return Failed(WriteOutcome::kNotWritten, reason);
  return {};
}

}  // namespace

WriteOutcome ReplaceFileWith(FileSystem& fs, const std::string& path, std::string_view bytes) {
  // A file the user may not write is not replaced behind their back.
  errno = 0;
  if (!MayReplace(fs, path)) return Failed(WriteOutcome::kNotOpened, ReasonOf(errno));
  // Something other than a file (a device, a pipe) is written where it stands: it is never put
  // aside for a file in its place.
  if (fs.Exists(path) && !fs.FileSize(path)) return WriteStream(fs, path, false, bytes);
  const std::string temporary = TemporaryBeside(path);
  WriteOutcome outcome = WriteStream(fs, temporary, false, bytes);
  if (outcome.ok() && fs.MoveReplacing(temporary, path)) return outcome;
  if (outcome.status == WriteOutcome::kNotOpened) return outcome;
  fs.RemoveFile(temporary);
  if (outcome.ok()) return Failed(WriteOutcome::kNotWritten, "the finished file could not be moved into place");
  return outcome;
}

WriteOutcome AppendToFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::optional<std::uint64_t> old_size = fs.FileSize(path);
  const WriteOutcome outcome = WriteStream(fs, path, true, bytes);
  if (outcome.status != WriteOutcome::kNotWritten) return outcome;
  if (old_size)
    fs.Truncate(path, *old_size);
  else
    fs.RemoveFile(path);
  return outcome;
}

bool WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& bytes) {
  return ReplaceFileWith(fs, path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())).ok();
}

}  // namespace ph
