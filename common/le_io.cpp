// Little-endian reading and writing of the data files.
#include "common/le_io.h"

#include <cstring>

namespace ph {

void ByteWriter::U32(std::uint32_t v) {
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  Raw(b, sizeof b);
}

void ByteWriter::U16(std::uint16_t v) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  Raw(b, sizeof b);
}

void ByteWriter::Raw(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + size);
}

void ByteWriter::String(std::string_view s) {
  U32(static_cast<std::uint32_t>(s.size()));
  Raw(s.data(), s.size());
}

bool ByteReader::Raw(void* out, std::size_t size) {
  if (size > left_) return false;
  if (size != 0) std::memcpy(out, p_, size);
  p_ += size;
  left_ -= size;
  return true;
}

bool ByteReader::Skip(std::size_t size) {
  if (size > left_) return false;
  p_ += size;
  left_ -= size;
  return true;
}

bool ByteReader::U32(std::uint32_t* v) {
  std::uint8_t b[4];
  if (!Raw(b, sizeof b)) return false;
  *v = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
       static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  return true;
}

bool ByteReader::I32(std::int32_t* v) {
  std::uint32_t u;
  if (!U32(&u)) return false;
  *v = static_cast<std::int32_t>(u);
  return true;
}

bool ByteReader::U16(std::uint16_t* v) {
  std::uint8_t b[2];
  if (!Raw(b, sizeof b)) return false;
  *v = static_cast<std::uint16_t>(b[0] | b[1] << 8);
  return true;
}

bool ByteReader::String(std::string* s) {
  std::uint32_t n;
  if (!U32(&n)) return false;
  // The length is checked against what is left before anything is allocated.
  if (n > left_) return false;
  s->assign(reinterpret_cast<const char*>(p_), n);
  p_ += n;
  left_ -= n;
  return true;
}

}  // namespace ph
