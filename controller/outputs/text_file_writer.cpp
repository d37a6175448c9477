// The writer of plain text files.
#include "controller/outputs/text_file_writer.h"

#include <sstream>

#include "controller/outputs/file_output.h"
#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace ph {

int WriteTextFile(const OutputContext& context, OutputPorts& ports) {
  const bool existed = ports.files.Exists(context.path);
  const bool append = ports.settings.append_files != 0;
  // The record is made whole first and then goes to the file in one write, so that a failure can
  // leave the file as it was.
  std::ostringstream out;
  // Sets appended content off from what was there; a replaced file starts the same way.
  if (existed) out << kLineBreak << kLineBreak;
  if (ports.settings.datetime_url) {
    const LocalTime now = ports.clock.Now();
    out << "date: " << DateText(now) << kLineBreak << "time: " << TimeText(now) << kLineBreak << "url: " << context.url
        << kLineBreak << kLineBreak;
  }
  out << ChosenContent(context) << kLineBreak;
  return SaveFileBytes(ports, context.path, out.str(), append);
}

}  // namespace ph
