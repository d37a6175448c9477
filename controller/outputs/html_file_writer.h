// The writer of HTML files, with their pictures and style sheets captured beside them.
#pragma once

#include "controller/outputs/output_context.h"

namespace ph {

struct OutputPorts;

// Writes context.path anew as an HTML page (or, for the text portion, as a <pre> block); nonzero
// when written, 0 (after its message) when the file cannot be opened or written.
int WriteHtmlFile(const OutputContext& context, OutputPorts& ports);

}  // namespace ph
