// The desktop clipboard of an X11 session (or XWayland): text and HTML offered at once.
#pragma once

#include <optional>

#include "controller/outputs/clipboard.h"

namespace ph {

// Collects what the writer places and, on Close, hands it to a small background process that owns
// the CLIPBOARD selection and answers paste requests until another program takes the selection
// over (as xclip does). Text is offered as UTF8_STRING, STRING and text/plain; the HTML document of
// the "HTML Format" block (with its title, base address and style markup) as text/html.
class X11Clipboard : public ClipboardPort {
 public:
  // False when no X display can be reached: there is no clipboard to put anything on.
  bool Open() override;
  void Close() override;
  bool Empty() override;
  bool Set(ClipboardFormat format, std::string_view bytes) override;

  // Whether the last Close handed the content to its owner process.
  bool published() const { return published_; }
  // Whether an Open found no display to put anything on; cleared by the next successful Open.
  bool unavailable() const { return unavailable_; }

 private:
  bool open_ = false;
  bool published_ = false;
  bool unavailable_ = false;
  std::optional<std::string> text_;  // CF_UNICODETEXT bytes, as placed
  std::optional<std::string> html_;  // the whole "HTML Format" block
};

// The HTML document that an "HTML Format" block marks with its StartHTML and EndHTML offsets, or the
// whole block when the offsets are missing or out of range.
std::string HtmlDocumentOfBlock(std::string_view block);

}  // namespace ph
