// Little-endian reading and writing of the data files: 32-bit integers and length-prefixed strings.
#pragma once

#include "common/base.h"

namespace ph {

// Appends little-endian values to a byte buffer.
class ByteWriter {
 public:
  void U32(std::uint32_t v);
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void U16(std::uint16_t v);
  void Raw(const void* data, std::size_t size);
  // A 32-bit byte count followed by the bytes, without terminator.
  void String(std::string_view s);

  const Bytes& bytes() const { return bytes_; }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

// Reads little-endian values from a byte range. Every read checks what is left first, so a damaged
// length can never make it read, or allocate, past the end of the data it was given.
class ByteReader {
 public:
  ByteReader(const void* data, std::size_t size)
      : p_(static_cast<const std::uint8_t*>(data)), left_(size) {}
  explicit ByteReader(const Bytes& b) : ByteReader(b.data(), b.size()) {}

  bool U32(std::uint32_t* v);
  bool I32(std::int32_t* v);
  bool U16(std::uint16_t* v);
  bool Raw(void* out, std::size_t size);
  bool Skip(std::size_t size);
  bool String(std::string* s);

  std::size_t left() const { return left_; }
  bool AtEnd() const { return left_ == 0; }

 private:
  const std::uint8_t* p_;
  std::size_t left_;
};

}  // namespace ph
