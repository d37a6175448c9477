// The writer of XML files that collect selections under "content_selections".
#pragma once

#include "controller/outputs/output_context.h"

namespace ph {

struct OutputPorts;

// Adds one "selection" (date, time, url, data) to the XML file at context.path, or starts the file
// anew, and saves it indented. Nonzero when the document was built and saved (or the indentation
// failed, which leaves the file unchanged); 0 after an error message when the document or one of
// its main elements cannot be created, or the file cannot be replaced.
int WriteXmlFile(const OutputContext& context, OutputPorts& ports);

}  // namespace ph
