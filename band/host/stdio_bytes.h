// The host's standard input and output as the byte stream of its messages.
#pragma once

#include "band/host/message_stream.h"

namespace ph::host {

// Standard input and output in binary mode (no line-end translation on Windows).
class StdioBytes : public ByteStream {
 public:
  StdioBytes();
  bool ReadExactly(char* data, std::size_t size) override;
  bool WriteAll(const char* data, std::size_t size) override;
};

}  // namespace ph::host
