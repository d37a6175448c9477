// Puts a file writer's finished bytes in place and tells the user when that fails.
#pragma once

#include "common/base.h"

namespace ph {

struct OutputPorts;
struct WriteOutcome;

// Replaces the file with the bytes, or appends them; nonzero when they are all in the file. A
// failure is shown ("Failure to open file", or "Failure to write file" with the path and the
// system's reason) and leaves the file as it was.
int SaveFileBytes(OutputPorts& ports, const std::string& path, std::string_view bytes, bool append);

// The message every file writer shows when its file cannot be opened ("Failure to open file"); the
// path and the system's reason go with it for a console to add.
void ReportOpenFailure(OutputPorts& ports, const std::string& path, const std::string& reason);
// The message of a write that failed after its file was opened; the file is as it was before.
void ReportWriteFailure(OutputPorts& ports, const std::string& path, const std::string& reason);

}  // namespace ph
