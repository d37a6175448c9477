// The desktop clipboard through Xlib: a forked owner of the CLIPBOARD selection.
#include "controller/outputs/posix/x11_clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "common/utf8.h"

namespace ph {
namespace {

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};
using UniqueDisplay = std::unique_ptr<Display, DisplayCloser>;

std::size_t OffsetAfter(std::string_view block, std::string_view key) {
  const std::size_t at = block.find(key);
  if (at == std::string_view::npos) return std::string_view::npos;
  return static_cast<std::size_t>(std::strtoul(std::string(block.substr(at + key.size(), 12)).c_str(), nullptr, 10));
}

// Serves selection requests until the selection is taken by someone else.
void ServeSelection(Display* display, Window window, const std::string& utf8_text, const std::string& html) {
  const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  const Atom targets = XInternAtom(display, "TARGETS", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Atom plain = XInternAtom(display, "text/plain", False);
  const Atom plain_utf8 = XInternAtom(display, "text/plain;charset=utf-8", False);
  const Atom text_atom = XInternAtom(display, "TEXT", False);
  const Atom html_atom = XInternAtom(display, "text/html", False);

  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == SelectionClear) return;
    if (event.type != SelectionRequest) continue;
    const XSelectionRequestEvent& request = event.xselectionrequest;
    XSelectionEvent reply = {};
    reply.type = SelectionNotify;
    reply.display = request.display;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = request.property != None ? request.property : request.target;

    const Atom t = request.target;
    if (request.selection != clipboard) {
      reply.property = None;
    } else if (t == targets) {
      std::vector<Atom> offered = {targets, utf8, XA_STRING, text_atom, plain, plain_utf8};
      if (!html.empty()) offered.push_back(html_atom);
      XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered.data()), static_cast<int>(offered.size()));
    } else if (t == utf8 || t == XA_STRING || t == text_atom || t == plain || t == plain_utf8) {
      XChangeProperty(display, request.requestor, reply.property, t, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(utf8_text.data()), static_cast<int>(utf8_text.size()));
    } else if (t == html_atom && !html.empty()) {
      XChangeProperty(display, request.requestor, reply.property, t, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(html.data()), static_cast<int>(html.size()));
    } else {
      reply.property = None;
    }
    XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
  }
}

}  // namespace

std::string HtmlDocumentOfBlock(std::string_view block) {
  const std::size_t start = OffsetAfter(block, "StartHTML:");
  const std::size_t end = OffsetAfter(block, "EndHTML:");
  if (start == std::string_view::npos || end == std::string_view::npos || start > end || end > block.size())
    return std::string(block);
  return std::string(block.substr(start, end - start));
}

bool X11Clipboard::Open() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) {
    unavailable_ = true;
    return false;
  }
  UniqueDisplay probe(XOpenDisplay(nullptr));
  open_ = probe != nullptr;
  unavailable_ = !open_;
  return open_;
}

bool X11Clipboard::Empty() {
  text_.reset();
  html_.reset();
  return open_;
}

bool X11Clipboard::Set(ClipboardFormat format, std::string_view bytes) {
  if (!open_) return false;
  (format == ClipboardFormat::kUnicodeText ? text_ : html_) = std::string(bytes);
  return true;
}

void X11Clipboard::Close() {
  if (!open_) return;
  open_ = false;
  published_ = false;
  if (!text_ && !html_) return;

  const std::string utf8_text = text_ ? Utf16ToUtf8(UnicodeTextOf(*text_)) : std::string();
  // The block is UTF-8 already; programs on this desktop expect a plain HTML document, and the
  // block's own holds the title, the base address that resolves relative pictures, and the styles.
  const std::string html = html_ ? HtmlDocumentOfBlock(*html_) : std::string();

  int ready[2];
  if (pipe(ready) != 0) return;
  const pid_t child = fork();
  if (child < 0) {
    close(ready[0]);
    close(ready[1]);
    return;
  }
  if (child == 0) {
    // The owner lives on after this program ends, detached from its terminal and streams.
    close(ready[0]);
    setsid();
    signal(SIGHUP, SIG_IGN);
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, 0);
      dup2(null, 1);
      dup2(null, 2);
    }
    // Nothing else grab had open (database sockets, output files) stays open for as long as the
    // owner lives: only the three standard streams and the pipe, moved to descriptor 3.
    if (dup2(ready[1], 3) < 0) _exit(0);
    ready[1] = 3;
    if (close_range(4, ~0U, 0) != 0)
      for (long fd = 4, last = sysconf(_SC_OPEN_MAX); fd < last; ++fd) close(static_cast<int>(fd));
    if (fork() > 0) _exit(0);  // the grandchild is adopted by init, so no zombie is left behind
    UniqueDisplay display(XOpenDisplay(nullptr));
    char ok = 0;
    if (display) {
      const Window window = XCreateSimpleWindow(display.get(), DefaultRootWindow(display.get()), 0, 0, 1, 1, 0, 0, 0);
      const Atom clipboard = XInternAtom(display.get(), "CLIPBOARD", False);
      XSetSelectionOwner(display.get(), clipboard, window, CurrentTime);
      ok = XGetSelectionOwner(display.get(), clipboard) == window;
      (void)!write(ready[1], &ok, 1);
      close(ready[1]);
      if (ok) ServeSelection(display.get(), window, utf8_text, html);
    } else {
      (void)!write(ready[1], &ok, 1);
    }
    _exit(0);
  }
  close(ready[1]);
  waitpid(child, nullptr, 0);
  char ok = 0;
  published_ = read(ready[0], &ok, 1) == 1 && ok;
  close(ready[0]);
}

}  // namespace ph
