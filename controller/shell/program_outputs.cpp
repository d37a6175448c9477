// Wires the writers of text, XML and HTML files, the clipboard and the database to the intake.
#include "controller/shell/program_outputs.h"

#include <iostream>

#include "controller/outputs/clipboard.h"
#include "controller/outputs/database.h"
#include "controller/outputs/database_output.h"
#include "controller/outputs/output_naming.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/output_writers.h"
#include "controller/outputs/xml_document.h"
#include "controller/shell/settings.h"
#include "platform/clock.h"
#include "platform/fetch.h"
#include "platform/url.h"

namespace ph {

struct ProgramOutputs::Parts {
  Parts(SettingsRecord& settings, FileSystem& fs, UserPort& user, const CodePage& code_page,
        std::unique_ptr<ClipboardPort> own_clipboard, bool driver_may_ask, std::unique_ptr<Fetcher> own_fetcher)
      : settings(settings),
        urls(MakeSystemUrlPort()),
        fetcher(own_fetcher ? std::move(own_fetcher) : MakeSystemFetcher()),
        clipboard(own_clipboard ? std::move(own_clipboard) : MakeSystemClipboard()),
        xml(MakeSystemXmlPort()),
        clock(MakeSystemClock()),
        odbc(MakeOdbcDatabase(driver_may_ask ? DriverPrompt::kComplete : DriverPrompt::kNever)),
        access(MakeAccessEngine()),
        ports{settings, fs, *urls, *fetcher, *clipboard, *xml, *clock, user, code_page, std::cout},
        database(settings, user, *clock, *odbc, *access),
        writers(ports, database) {}

  SettingsRecord& settings;
  std::unique_ptr<UrlPort> urls;
  std::unique_ptr<Fetcher> fetcher;
  std::unique_ptr<ClipboardPort> clipboard;
  std::unique_ptr<XmlPort> xml;
  std::unique_ptr<Clock> clock;
  std::unique_ptr<Database> odbc;
  std::unique_ptr<AccessEngine> access;
  OutputPorts ports;
  DatabaseWriter database;
  PortWriters writers;
};

ProgramOutputs::ProgramOutputs(SettingsRecord& settings, FileSystem& fs, UserPort& user,
                               const CodePage& code_page, std::unique_ptr<ClipboardPort> clipboard,
                               bool driver_may_ask, std::unique_ptr<Fetcher> fetcher)
    : parts_(std::make_unique<Parts>(settings, fs, user, code_page, std::move(clipboard), driver_may_ask,
                                     std::move(fetcher))) {}

ProgramOutputs::~ProgramOutputs() = default;

Writers& ProgramOutputs::writers() { return parts_->writers; }

Fetcher& ProgramOutputs::fetcher() { return *parts_->fetcher; }

SuggestNameFn ProgramOutputs::suggest_name() {
  const Parts* parts = parts_.get();
  return [parts](const OutputContext& context) {
    return SuggestedName(context, parts->settings, parts->clock->Now());
  };
}

}  // namespace ph
