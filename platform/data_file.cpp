// Locking the data files' folder, and noticing what other processes wrote to a data file.
#include "platform/data_file.h"

#include <functional>
#include <string_view>

#include "common/data_file_names.h"

namespace ph {
namespace {

std::size_t HashOf(const Bytes& bytes) {
  return std::hash<std::string_view>()(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

std::unique_ptr<FileLock> FileSystem::LockExclusive(const std::string& /*path*/) {
  return std::make_unique<FileLock>();
}

std::unique_ptr<FileLock> LockDataFolder(FileSystem& files, const std::string& data_file_path) {
  const std::size_t cut = data_file_path.rfind(kPathSeparator);
  const std::string folder = cut == std::string::npos ? std::string() : data_file_path.substr(0, cut + 1);
  return files.LockExclusive(folder + kDataLockFileName);
}

DataFile::DataFile(FileSystem& files, std::string path, std::size_t max_bytes)
    : files_(files), path_(std::move(path)), max_bytes_(max_bytes), seen_(HashOf(Bytes{})) {}

Bytes DataFile::Read() {
  Bytes bytes = files_.ReadAll(path_, max_bytes_).value_or(Bytes{});
  seen_ = HashOf(bytes);
  return bytes;
}

std::optional<Bytes> DataFile::ReadIfChanged() {
  const std::size_t seen = seen_;
  Bytes bytes = Read();
  if (seen_ == seen) return std::nullopt;
  return bytes;
}

bool DataFile::Write(const Bytes& bytes) {
  if (!WriteWholeFile(files_, path_, bytes)) return false;
  seen_ = HashOf(bytes);
  return true;
}

}  // namespace ph
