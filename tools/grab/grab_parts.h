// The parts of one run of grab, wired as the band and the controller are: the selection engine on
// in-memory pages, the hand-off record, and the controller's intake with its writers.
#pragma once

#include <iosfwd>
#include <memory>

#include "band/engine/selection_engine.h"
#include "band/memdoc/memory_events.h"
#include "controller/intake/intake_processor.h"
#include "controller/outputs/posix/x11_clipboard.h"
#include "controller/shell/program_outputs.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/url.h"
#include "tools/grab/browser_pages.h"
#include "tools/grab/browser_selection.h"
#include "tools/grab/console_user.h"
#include "tools/grab/grab_ports.h"
#include "tools/grab/page_loader.h"
#include "tools/grab/settings_file.h"

namespace ph::grab {

struct GrabParts {
  // data_folder is where the data files are kept.
  GrabParts(const Options& options, const std::string& data_folder, std::ostream& out, std::ostream& err);
  GrabParts(const GrabParts&) = delete;
  GrabParts& operator=(const GrabParts&) = delete;

  // Reads the settings and what the band and the controller learned before.
  void LoadStores();
  // Waits for the page and hands it to the engine as the browser's page; false with the reason in
  // *error when it cannot be had.
  bool OpenPage(PageLoader::Pending& pending, std::string* error);
  // Forgets what the sending of the last page recorded.
  void ResetRecords();
  void SaveSettings() { settings_file.Save(registry, settings); }

  const Options& options;
  std::ostream& out;
  std::ostream& err;
  std::unique_ptr<CodePage> code_page;
  std::unique_ptr<FileSystem> files;
  std::unique_ptr<UrlPort> urls;
  MemoryRegistry registry;
  SettingsRecord settings;
  SettingsFile settings_file;
  ConsoleUser user;
  ConsoleMessages messages;
  X11Clipboard* clipboard;  // owned by outputs
  ProgramOutputs outputs;
  RecordingWriters writers;
  CommandLineDialog dialog;
  IntakeProcessor intake;
  IntakeLink link;
  CurrentPage browser;
  NoToolbar toolbar;
  MemoryEvents events;
  RoutedEvents routed_events{events};
  ImmediateTimers timers;
  SelectionEngine engine;
  PageLoader loader;
  std::unique_ptr<BrowserPages> rendering;  // --browser and select: ended before the loader that uses it
};

}  // namespace ph::grab
