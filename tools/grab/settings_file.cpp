// Reading and keeping grab's settings, with the command line's changes.
#include "tools/grab/settings_file.h"

#include <sys/stat.h>

#include <ostream>

#include "common/data_file_names.h"

namespace ph::grab {
namespace {

constexpr char kSettingsFile[] = "settings.dat";
constexpr std::size_t kMaxSettingsFile = 16 * 1024 * 1024;

}  // namespace

SettingsFile::SettingsFile(FileSystem& files, const SettingChanges& changes, std::ostream& err)
    : file_(files, ModuleFolderFile(files, kSettingsFile), kMaxSettingsFile), files_(files), changes_(changes), err_(err) {}

void SettingsFile::Load(MemoryRegistry& registry, SettingsRecord* settings) {
  const Bytes bytes = file_.Read();
  if (!bytes.empty() && !registry.Restore(bytes)) err_ << "grab: " << kSettingsFile << " is damaged; starting from the defaults\n";
  LoadSettings(registry, settings);
  append_files_read_ = settings->append_files;
  ApplyChanges(settings, true);
}

void SettingsFile::ApplyChanges(SettingsRecord* s, bool environment_password) const {
  const SettingChanges& c = changes_;
  if (c.datetime_url) s->datetime_url = *c.datetime_url;
  if (c.dsn) {
    s->dsn = *c.dsn;
    s->use_file_dsn = 0;
  }
  if (c.file_dsn) {
    s->file_dsn = *c.file_dsn;
    s->use_file_dsn = 1;
  }
  if (c.user) s->user = *c.user;
  if (c.password) {
    s->password = *c.password;
  } else if (c.password_from_environment && environment_password) {
    s->password = *c.password_from_environment;
  }
  if (c.extra) s->extra = *c.extra;
  if (c.table) s->odbc_table = *c.table;
  if (c.dsn || c.file_dsn) s->db_type = 0;
}

void SettingsFile::Save(MemoryRegistry& registry, const SettingsRecord& settings) {
  const auto lock = LockDataFolder(files_, file_.path());
  // The settings as the file holds them now (what another run stored meanwhile included; the
  // registry is not changed during a run), with what this run changed on top.
  if (const auto bytes = file_.ReadIfChanged()) registry.Restore(*bytes);
  SettingsRecord kept;
  LoadSettings(registry, &kept);
  if (settings.append_files != append_files_read_) kept.append_files = settings.append_files;
  ApplyChanges(&kept, false);
  SaveSettings(registry, kept, "");
  // Made for the user alone, whatever the umask lets others read.
  const mode_t umask_before = ::umask(077);
  const bool written = file_.Write(registry.Serialize());
  ::umask(umask_before);
  if (!written) err_ << "grab: cannot write " << file_.path() << "; the settings of this run are not kept\n";
}

}  // namespace ph::grab
