// The clipboard writer: the content as text and as "HTML Format".
#include "controller/outputs/clipboard_writer.h"

#include "controller/outputs/cf_html.h"
#include "controller/outputs/clipboard.h"
#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/utf8.h"
#include "platform/code_page.h"
#include "platform/user.h"

namespace ph {

int CopyToClipboard(const OutputContext& context, OutputPorts& ports) {
  ClipboardPort& clipboard = ports.clipboard;
  if (!clipboard.Open()) return 0;
  clipboard.Empty();
  // The text goes as UTF-16, from which every program gets it in its own code page.
  if (!clipboard.Set(ClipboardFormat::kUnicodeText, UnicodeTextBytes(ports.code_page.FromAnsi(ChosenContent(context))))) {
    ports.user.Show({"Failed to set clipboard data", "Error", MessageIcon::kError, MessageButtons::kOk});
  }
  clipboard.Close();

  const std::string title = AnsiToUtf8(context.title, ports.code_page);
  const std::string url = AnsiToUtf8(context.url, ports.code_page);
  const std::string style = AnsiToUtf8(context.style, ports.code_page);
  const std::string fragment = AnsiToUtf8(context.html, ports.code_page);
  const std::optional<std::string> block = BuildCfHtml({title, url, style, fragment});
  if (!block) {
    // Offsets of eight digits cannot describe it; a block with wrong offsets would paste garbage.
    ports.user.Show(
        {"The selection is too large to be placed on the clipboard as HTML; it was placed as text "
         "only.",
         "Error", MessageIcon::kWarning, MessageButtons::kOk});
    return 1;
  }
  if (!clipboard.Open()) return 0;
  clipboard.Set(ClipboardFormat::kHtml, *block);
  clipboard.Close();
  return 1;
}

}  // namespace ph
