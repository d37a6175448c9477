// "settings.dat" in the data folder: the registry's values as the controller keeps them, so that a run
// finds what the runs before it were told (the database to write to, say).
#pragma once

#include <iosfwd>
#include <optional>

#include "controller/shell/settings.h"
#include "platform/data_file.h"
#include "platform/memory_registry.h"
#include "tools/grab/options.h"

namespace ph::grab {

class SettingsFile {
 public:
  SettingsFile(FileSystem& files, const SettingChanges& changes, std::ostream& err);

  // Reads the file into the registry and the record, and applies the command line's changes.
  void Load(MemoryRegistry& registry, SettingsRecord* settings);
  // Keeps the run's changes: under the data folder's lock, on the settings the file holds now (what
  // another run stored meanwhile stays), in a file only the user may read: it holds the database
  // password. A password from the environment is used, never kept.
  void Save(MemoryRegistry& registry, const SettingsRecord& settings);

 private:
  void ApplyChanges(SettingsRecord* settings, bool environment_password) const;

  DataFile file_;
  FileSystem& files_;
  const SettingChanges& changes_;
  std::ostream& err_;
  std::int32_t append_files_read_ = 0;  // the "Append Files" the file held; the save dialog may change it
};

}  // namespace ph::grab
