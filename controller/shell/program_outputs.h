// The real writers behind the intake: every output port of the machine, and the name suggestion.
#pragma once

#include <memory>

#include "controller/intake/output_services.h"

namespace ph {

class CodePage;
class FileSystem;
class UserPort;
struct SettingsRecord;

class ProgramOutputs {
 public:
  // user shows the writers' own messages; settings is the process's one record, read at each write.
  ProgramOutputs(SettingsRecord& settings, FileSystem& fs, UserPort& user, const CodePage& code_page);
  ~ProgramOutputs();
  ProgramOutputs(const ProgramOutputs&) = delete;
  ProgramOutputs& operator=(const ProgramOutputs&) = delete;

  Writers& writers();
  SuggestNameFn suggest_name();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace ph
