// The real writers behind the intake: every output port of the machine, and the name suggestion.
#pragma once

#include <memory>

#include "controller/intake/output_services.h"
#include "controller/outputs/clipboard.h"
#include "platform/fetch.h"

namespace ph {

class CodePage;
class FileSystem;
class UserPort;
struct SettingsRecord;

class ProgramOutputs {
 public:
  // user shows the writers' own messages; settings is the process's one record, read at each write.
  // clipboard replaces the system's clipboard (a desktop's, for a command-line program);
  // driver_may_ask lets an ODBC driver ask the user for what a data source leaves out; fetcher
  // replaces the system's fetcher of default limits.
  ProgramOutputs(SettingsRecord& settings, FileSystem& fs, UserPort& user, const CodePage& code_page,
                 std::unique_ptr<ClipboardPort> clipboard = nullptr, bool driver_may_ask = true,
                 std::unique_ptr<Fetcher> fetcher = nullptr);
  ~ProgramOutputs();
  ProgramOutputs(const ProgramOutputs&) = delete;
  ProgramOutputs& operator=(const ProgramOutputs&) = delete;

  Writers& writers();
  SuggestNameFn suggest_name();
  // The fetcher the HTML files take their pictures and style sheets with, for others to share.
  Fetcher& fetcher();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace ph
