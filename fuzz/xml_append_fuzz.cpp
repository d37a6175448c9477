// Appending a selection to a hostile existing XML file: the writer never crashes, and what it
// leaves is a document that loads again.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "controller/outputs/clipboard.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/xml_document.h"
#include "controller/outputs/xml_file_writer.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/fetch.h"
#include "platform/file_system.h"
#include "platform/url.h"
#include "platform/user.h"

namespace {

struct Writer {
  ph::SettingsRecord settings;
  std::unique_ptr<ph::FileSystem> files = ph::MakeSystemFileSystem();
  std::unique_ptr<ph::UrlPort> urls = ph::MakeSystemUrlPort();
  std::unique_ptr<ph::Fetcher> fetcher = ph::MakeSystemFetcher();
  ph::MemoryClipboard clipboard;
  std::unique_ptr<ph::XmlPort> xml = ph::MakeSystemXmlPort();
  ph::FakeClock clock{ph::LocalTime{2026, 12, 8, 10, 0, 0, 0}};
  ph::Windows1252 code_page;
  std::ostringstream diagnostics;
  // Under /dev/shm when it is there: the file is written and read on every run.
  std::string path = (::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::string("/tmp")) +
                     "/ph-xml-fuzz-" + std::to_string(::getpid()) + ".xml";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Writer* w = new Writer;
  w->settings.append_files = 1;
  std::ofstream(w->path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
  ph::ScriptedUser user;
  ph::OutputPorts ports{w->settings, *w->files, *w->urls, *w->fetcher, w->clipboard, *w->xml,
                        w->clock,    user,       w->code_page, w->diagnostics};
  ph::OutputContext context;
  context.text = "a < b & c";
  context.url = "http://fuzz.test/";
  context.path = w->path;
  if (ph::WriteXmlFile(context, ports) != 0 && user.messages().empty()) {
    std::unique_ptr<ph::XmlDocument> back = w->xml->CreateDocument();
    if (!back || !back->Load(w->path) || !back->DocumentElement()) std::abort();
  }
  return 0;
}
