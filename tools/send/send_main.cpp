// ph-send: hands one piece of content to the running controller, as the band does.
// Usage: ph-send LAYOUT_ID QUICK_SAVE TITLE [TEXT [URL]]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"
#include "tools/harness/win32/robot.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: ph-send LAYOUT_ID QUICK_SAVE TITLE [TEXT [URL]]\n");
    return 2;
  }
  const HWND controller = ph::robot::FindController(5000);
  if (!controller) {
    std::fprintf(stderr, "ph-send: no controller window\n");
    return 1;
  }
  const auto code_page = ph::MakeSystemCodePage();
  const std::string text = argc > 4 ? argv[4] : "Some selected text";
  const std::string url = argc > 5 ? argv[5] : "http://127.0.0.1/page.html";
  ph::HandoffFields fields;
  fields[ph::kSelectionHtml] = code_page->FromAnsi("<p>" + text + "</p>");
  fields[ph::kSelectionText] = code_page->FromAnsi(text);
  fields[ph::kPageUrl] = code_page->FromAnsi(url);
  fields[ph::kPageTitle] = code_page->FromAnsi(argv[3]);
  const bool sent = ph::robot::SendContent(controller, fields, std::atoi(argv[1]), std::atoi(argv[2]));
  return sent ? 0 : 1;
}
