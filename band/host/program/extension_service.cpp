// The native host's ports: the band's own where it has them, the extension where the band had a window.
#include "band/host/program/extension_service.h"

#include "band/engine/program_ports.h"
#include "band/host/program/controller_delivery.h"
#include "band/host/stdio_bytes.h"
#include "band/shell/win32/band_windows.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/url.h"
#include "platform/win32/com_ptr.h"

namespace ph::host {

int ServeExtension() {
  // The shell, which starts the controller when it is not running, wants COM on the calling thread.
  const win::ComApartment com;
  StdioBytes bytes;
  MessageStream stream(bytes);
  NativeChannel channel(stream);
  // Nobody sees a window of the host: every message box goes to the page.
  ExtensionMessages messages(channel);

  const auto registry = MakeSystemRegistry();
  const auto clock = MakeSystemClock();
  // The data files are the install folder's, beside the program, which the band shares.
  const auto files = MakeSystemFileSystem();
  const auto urls = MakeSystemUrlPort();
  const auto code_page = MakeSystemCodePage();
  // No window of its own: the hand-off's sender window is none, and the shell starts the controller
  // without an owner.
  const band::BandWindows windows;
  band::ControllerProcess process(windows);
  ControllerDelivery delivery(process, *registry, *clock, messages);

  ShownPage page;
  NoToolbar toolbar;
  NoDocumentEvents none;
  RoutedEvents events(none);
  ImmediateTimers timers;
  SelectionEngine engine(
      EnginePorts{page, toolbar, events, timers, messages, delivery, *registry, *files, *urls, *code_page});
  engine.LoadStores();
  live::MarkupForm form;
  HostSession session({engine, page, events, timers, form, delivery}, channel);
  return session.Run();
}

}  // namespace ph::host
