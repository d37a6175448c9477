// The writers and the name suggestion the program hands to its intake.
#pragma once

#include <memory>

#include "controller/intake/output_services.h"

namespace ph {

class FileSystem;
class UserPort;
struct SettingsRecord;

struct ProgramOutputs {
  std::unique_ptr<Writers> writers;
  SuggestNameFn suggest_name;
};

// user shows the writers' own messages (no owner window); settings is the process's one record.
ProgramOutputs MakeProgramOutputs(SettingsRecord& settings, FileSystem& fs, UserPort& user);

}  // namespace ph
