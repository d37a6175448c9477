// Native messaging's framing: each message a length in the machine's byte order, then UTF-8 JSON; large ones in pieces.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "band/live/page_channel.h"

namespace ph::host {

using live::Json;

// The bytes under the messages: the host's standard input and output, or a test's buffers.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Reads exactly size bytes; false at the end of the stream or on an error.
  virtual bool ReadExactly(char* data, std::size_t size) = 0;
  // Writes all of it, then flushes; false when the other side is gone.
  virtual bool WriteAll(const char* data, std::size_t size) = 0;
};

// Browsers take at most 1 MiB in one message from a host; larger messages go in pieces.
inline constexpr std::size_t kMaxPieceBytes = 1u << 20;
// A longer message, or pieces adding up to more, is refused: nobody has a reason to send it.
inline constexpr std::size_t kMaxMessageBytes = 64u << 20;

class MessageStream {
 public:
  explicit MessageStream(ByteStream& bytes, std::size_t piece_bytes = kMaxPieceBytes)
      : bytes_(bytes), piece_bytes_(piece_bytes) {}

  enum class Status {
    kMessage,  // *message holds one whole message (its pieces joined)
    kBad,      // a message that cannot be read; *error says why, and the stream goes on
    kEnd,      // the stream ended, or broke where it cannot be read on (a length over the limit)
  };
  Status Read(Json* message, std::string* error);
  // False when the other side is gone.
  bool Write(const Json& message);

 private:
  bool WriteFrame(std::string_view text);
  // Adds a piece; a whole message when it was the last.
  Status Join(const Json& piece, Json* message, std::string* error);

  ByteStream& bytes_;
  std::size_t piece_bytes_;
  long next_piece_ = 1;
  // The message being joined from pieces.
  long joining_ = 0;
  long joined_parts_ = 0;
  std::string joined_;
};

// The longest prefix of text of at most size bytes that does not end inside a UTF-8 sequence.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t size);

}  // namespace ph::host
