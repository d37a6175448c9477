// Loading and saving of the settings record, and the connection string built from it.
#include "controller/shell/settings.h"

#include "common/settings_names.h"
#include "controller/outputs/database_output.h"
#include "controller/outputs/database_statements.h"
#include "platform/code_page.h"
#include "platform/registry.h"

namespace ph {
namespace {

// Numbers are stored as REG_BINARY of the field's width, but a value put there by hand may be of
// another type or width (a REG_DWORD for a 2-byte modifier set, say). Its little-endian number is
// taken whenever it fits the field; otherwise the field keeps what it held.
template <typename Field>
void ReadNumber(RegistryKey& key, const char* name, Field* field) {
  RegistryValue value;
  if (key.Query(name, 8, &value) != QueryStatus::kOk || value.data.empty()) return;
  std::uint64_t number = 0;
  for (std::size_t i = value.data.size(); i-- > 0;) number = number << 8 | value.data[i];
  if (number >> (8 * sizeof(Field) - 1) >> 1) return;
  *field = static_cast<Field>(number);
}

void ReadString(RegistryKey& key, const char* name, std::string* field) {
  std::string text;
  if (QueryStringValue(key, name, kMaxSettingString, &text)) *field = std::move(text);
}

// Five key bytes, made on the stack each time so that they stand in no data section as a block.
// They are control codes on purpose: a byte equal to its key byte scrambles to zero, and a zero
// would end the stored string early, so no character anyone types in a password may equal one.
template <int Sign>
std::string Scramble(std::string_view text) {
  const std::uint8_t key[5] = {0x03, 0x11, 0x07, 0x1D, 0x0B};
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char>(static_cast<std::uint8_t>(out[i]) + Sign * key[i % 5]);
  return out;
}

}  // namespace

std::string ScramblePassword(std::string_view plain) { return Scramble<-1>(plain); }
std::string UnscramblePassword(std::string_view scrambled) { return Scramble<+1>(scrambled); }

namespace {

// A scrambled password is bytes, not text. A single-byte code page holds every byte as a character
// of its own; UTF-8 does not, and the registry would turn the bytes that make no UTF-8 into U+FFFD.
// There the bytes are written as the Windows-1252 characters they stand for, which is what a
// Western Windows stored for them before, so values stored then read the same now.
std::string PasswordToStore(std::string_view plain) {
  const std::unique_ptr<CodePage> code_page = MakeSystemCodePage();
  const std::string scrambled = ScramblePassword(plain);
  if (code_page->Charset() != "utf-8") return scrambled;
  return code_page->ToAnsi(Windows1252().FromAnsi(scrambled));
}

std::string PasswordFromStored(std::string_view stored) {
  const std::unique_ptr<CodePage> code_page = MakeSystemCodePage();
  if (code_page->Charset() != "utf-8") return UnscramblePassword(stored);
  return UnscramblePassword(Windows1252().ToAnsi(code_page->FromAnsi(stored)));
}

}  // namespace

void LoadSettings(Registry& registry, SettingsRecord* s) {
  if (auto run = registry.Create(RegistryRoot::kCurrentUser, reg::kRunKey)) {
    // Only the presence of a string value counts; its data is not compared with our path.
    RegistryValue value;
    const QueryStatus status = run->Query(reg::kRunValue, 512, &value);
    s->auto_start = (status == QueryStatus::kOk || status == QueryStatus::kTooLarge) &&
                    value.type == RegistryType::kString;
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey)) {
    ReadNumber(*key, reg::kHighlightColor, &s->highlight_color);
    ReadNumber(*key, reg::kSuppressHyperlink, &s->suppress_hyperlinks);
    ReadNumber(*key, reg::kNormalHotkeyMod, &s->normal_mod);
    ReadNumber(*key, reg::kMultiHotkeyMod, &s->multi_mod);
    ReadNumber(*key, reg::kDeselectHotkeyMod, &s->deselect_mod);
    ReadNumber(*key, reg::kExcludeTableHotkeyMod, &s->exclude_table_mod);
    ReadNumber(*key, reg::kNameAppendType, &s->name_append_type);
    ReadNumber(*key, reg::kNameAppendLen, &s->name_append_len);
    ReadNumber(*key, reg::kDbType, &s->db_type);
    ReadNumber(*key, reg::kAppendFiles, &s->append_files);
    ReadNumber(*key, reg::kDatetimeUrl, &s->datetime_url);
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kOdbcKey)) {
    ReadNumber(*key, reg::kUseFileDsn, &s->use_file_dsn);
    ReadString(*key, reg::kDsn, &s->dsn);
    ReadString(*key, reg::kFileDsn, &s->file_dsn);
    ReadString(*key, reg::kUser, &s->user);
    std::string pass;
    if (QueryStringValue(*key, reg::kPass, kMaxSettingString, &pass)) s->password = PasswordFromStored(pass);
    ReadString(*key, reg::kExtra, &s->extra);
    ReadString(*key, reg::kTableName, &s->odbc_table);
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kAccessKey)) {
    ReadString(*key, reg::kPath, &s->access_path);
    ReadString(*key, reg::kTableName, &s->access_table);
    std::string pass;
    if (QueryStringValue(*key, reg::kPassword, kMaxSettingString, &pass))
      s->access_password = PasswordFromStored(pass);
  }
}

void SaveSettings(Registry& registry, const SettingsRecord& s, std::string_view exe_path) {
  if (auto run = registry.Create(RegistryRoot::kCurrentUser, reg::kRunKey)) {
    if (s.auto_start)
      SetStringValue(*run, reg::kRunValue, exe_path);
    else
      run->Delete(reg::kRunValue);
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey)) {
    SetBinaryU32(*key, reg::kHighlightColor, s.highlight_color);
    SetBinaryU32(*key, reg::kSuppressHyperlink, static_cast<std::uint32_t>(s.suppress_hyperlinks));
    SetBinaryU16(*key, reg::kNormalHotkeyMod, s.normal_mod);
    SetBinaryU16(*key, reg::kMultiHotkeyMod, s.multi_mod);
    SetBinaryU16(*key, reg::kDeselectHotkeyMod, s.deselect_mod);
    SetBinaryU16(*key, reg::kExcludeTableHotkeyMod, s.exclude_table_mod);
    SetBinaryU32(*key, reg::kNameAppendType, static_cast<std::uint32_t>(s.name_append_type));
    SetBinaryU32(*key, reg::kNameAppendLen, static_cast<std::uint32_t>(s.name_append_len));
    SetBinaryU32(*key, reg::kDbType, static_cast<std::uint32_t>(s.db_type));
    SetBinaryU32(*key, reg::kAppendFiles, static_cast<std::uint32_t>(s.append_files));
    SetBinaryU32(*key, reg::kDatetimeUrl, static_cast<std::uint32_t>(s.datetime_url));
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kOdbcKey)) {
    SetBinaryU32(*key, reg::kUseFileDsn, static_cast<std::uint32_t>(s.use_file_dsn));
    SetStringValue(*key, reg::kDsn, s.dsn);
    SetStringValue(*key, reg::kFileDsn, s.file_dsn);
    SetStringValue(*key, reg::kUser, s.user);
    SetStringValue(*key, reg::kPass, PasswordToStore(s.password));
    SetStringValue(*key, reg::kExtra, s.extra);
    SetStringValue(*key, reg::kTableName, s.odbc_table);
  }

  if (auto key = registry.Create(RegistryRoot::kCurrentUser, reg::kAccessKey)) {
    SetStringValue(*key, reg::kPath, s.access_path);
    SetStringValue(*key, reg::kTableName, s.access_table);
    SetStringValue(*key, reg::kPassword, PasswordToStore(s.access_password));
  }
}

std::string ConnectionString(const SettingsRecord& s) { return OdbcConnectionString(OdbcSourceOf(s)); }

}  // namespace ph
