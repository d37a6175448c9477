// Standard input and output through their handles, in binary mode.
#include "band/host/stdio_bytes.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace ph::host {

StdioBytes::StdioBytes() {
  // The C runtime would turn every LF byte of a length into CR LF.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
}

bool StdioBytes::ReadExactly(char* data, std::size_t size) {
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (size > 0) {
    DWORD read = 0;
    const DWORD want = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!ReadFile(input, data, want, &read, nullptr) || read == 0) return false;
    data += read;
    size -= read;
  }
  return true;
}

bool StdioBytes::WriteAll(const char* data, std::size_t size) {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  while (size > 0) {
    DWORD written = 0;
    const DWORD want = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
    if (!WriteFile(output, data, want, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace ph::host
