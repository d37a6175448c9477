// The writer of plain text files.
#include "controller/outputs/text_file_writer.h"

#include <ostream>

#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {

void ReportOpenFailure(OutputPorts& ports) {
  ports.user.Show({"Failure to open file", "Error", MessageIcon::kError, MessageButtons::kOk});
}

int WriteTextFile(const OutputContext& context, OutputPorts& ports) {
  const bool existed = ports.files.Exists(context.path);
  const bool append = ports.settings.append_files != 0;
  std::unique_ptr<std::ostream> out = ports.files.OpenWrite(context.path, append);
  if (!out || !*out) {
    ReportOpenFailure(ports);
    return 0;
  }
  // Sets appended content off from what was there; a replaced file starts the same way.
  if (existed) *out << kLineBreak << kLineBreak;
  if (ports.settings.datetime_url) {
    const LocalTime now = ports.clock.Now();
    *out << "date: " << DateText(now) << kLineBreak << "time: " << TimeText(now) << kLineBreak << "url: " << context.url
         << kLineBreak << kLineBreak;
  }
  *out << ChosenContent(context) << kLineBreak;
  out->flush();
  return 1;
}

}  // namespace ph
