// The writers behind the one call the intake makes: each kind of output to its writer.
#include "controller/outputs/output_writers.h"

#include "controller/outputs/clipboard_writer.h"
#include "controller/outputs/database_output.h"
#include "controller/outputs/html_file_writer.h"
#include "controller/outputs/text_file_writer.h"
#include "controller/outputs/xml_file_writer.h"

namespace ph {

int PortWriters::Write(std::int32_t kind, const OutputContext& context) {
  switch (kind) {
    case kOutputText:
      return WriteTextFile(context, ports_);
    case kOutputXml:
      return WriteXmlFile(context, ports_);
    case kOutputHtml:
      return WriteHtmlFile(context, ports_);
    case kOutputClipboard:
      return CopyToClipboard(context, ports_);
    case kOutputDatabase:
      return database_.Write(context);
    default:
      return 0;
  }
}

}  // namespace ph
