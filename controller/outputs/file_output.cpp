// Puts a file writer's finished bytes in place and tells the user when that fails.
#include "controller/outputs/file_output.h"

#include "controller/outputs/output_ports.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {

void ReportOpenFailure(OutputPorts& ports, const std::string& path, const std::string& reason) {
  ports.user.Show({"Failure to open file", "Error", MessageIcon::kError, MessageButtons::kOk,
                   reason.empty() ? path : path + ": " + reason});
}

void ReportWriteFailure(OutputPorts& ports, const std::string& path, const std::string& reason) {
  std::string text = "Failure to write file\n" + path;
  if (!reason.empty()) text += "\n" + reason;
  ports.user.Show({text, "Error", MessageIcon::kError, MessageButtons::kOk});
}

int SaveFileBytes(OutputPorts& ports, const std::string& path, std::string_view bytes, bool append) {
  const WriteOutcome outcome = append ? AppendToFile(ports.files, path, bytes) : ReplaceFileWith(ports.files, path, bytes);
  switch (outcome.status) {
    case WriteOutcome::kWritten:
      return 1;
    case WriteOutcome::kNotOpened:
      ReportOpenFailure(ports, path, outcome.reason);
      return 0;
    default:
      ReportWriteFailure(ports, path, outcome.reason);
      return 0;
  }
}

}  // namespace ph
