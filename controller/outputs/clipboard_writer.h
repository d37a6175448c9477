// The clipboard writer: the content as text and as "HTML Format".
#pragma once

#include "controller/outputs/output_context.h"

namespace ph {

struct OutputPorts;

// Puts the chosen content on the clipboard as CF_UNICODETEXT and the selection HTML, with the
// page's title, address and style, as "HTML Format" (UTF-8). Nonzero unless the clipboard cannot
// be opened.
int CopyToClipboard(const OutputContext& context, OutputPorts& ports);

}  // namespace ph
