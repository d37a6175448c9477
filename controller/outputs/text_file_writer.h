// The writer of plain text files.
#pragma once

#include "controller/outputs/output_context.h"

namespace ph {

struct OutputPorts;

// Line breaks the writers add to files: CR LF, on every platform.
inline constexpr char kLineBreak[] = "\r\n";

// Writes (or appends) the content to context.path with the optional date, time and URL header;
// nonzero when written, 0 (after its message) when the file cannot be opened or written.
int WriteTextFile(const OutputContext& context, OutputPorts& ports);

}  // namespace ph
