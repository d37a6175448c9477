// The save panel's question and answer, and the files that register grab as the extension's host.
#include "tools/grab/host_command.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <utility>
#include <vector>

#include "band/host/extension_identity.h"
#include "band/host/host_session.h"
#include "band/host/stdio_bytes.h"
#include "controller/outputs/output_context.h"
#include "tools/grab/commands.h"
#include "tools/grab/page_outcome.h"
#include "tools/grab/parsed_markup_form.h"

namespace ph::grab {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKindNames[] = {"text", "xml", "html", "clipboard", "database"};
constexpr const char* kPortionNames[] = {"auto", "text", "html"};

std::string Home() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

// $NAME when it is an absolute path, else the fallback under the home folder.
fs::path XdgFolder(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  if (value && *value == '/') return value;
  return fs::path(Home()) / fallback;
}

// A word for the shell, in single quotes.
std::string Quoted(const std::string& word) {
  std::string out = "'";
  for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool WriteFile(const fs::path& path, const std::string& text, fs::perms mode, std::ostream& err) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) {
    err << "grab: cannot write " << path.string() << '\n';
    return false;
  }
  fs::permissions(path, mode, ec);
  return true;
}

std::string Launcher(const Options& options) {
  std::error_code ec;
  std::string grab = fs::read_symlink("/proc/self/exe", ec).string();
  if (ec) grab = "grab";
  std::string line = "exec " + Quoted(grab);
  if (!options.data_dir.empty()) line += " --data-dir " + Quoted(fs::absolute(options.data_dir).string());
  const DialogAnswer& answer = options.answer;
  if (answer.kind >= 0 && answer.kind < 5) line += std::string(" --kind ") + kKindNames[answer.kind];
  if (answer.portion_list_index > 0) line += std::string(" --portion ") + kPortionNames[answer.portion_list_index];
  if (!answer.target.empty()) line += " --to " + Quoted(fs::absolute(answer.target).string());
  if (answer.append) line += *answer.append ? " --append" : " --no-append";
  if (options.relocate_by_paths) line += " --relocate paths";
  if (options.auto_cells) line += " --auto-mode cells";
  return "#!/bin/sh\n# Started by the browser for the PageHarvest extension (written by grab host --install).\n" + line +
         " host \"$@\"\n";
}

// What became of a selection the host finished, for the extension to show.
class GrabDelivery : public host::DeliveryPort {
 public:
  explicit GrabDelivery(GrabParts& parts) : parts_(parts) {}
  void Reset() override { parts_.ResetRecords(); }
  host::Delivery Result() override {
    switch (OutcomeOfSend(parts_)) {
      case Outcome::kSaved: return {"saved", "Saved to " + parts_.writers.target() + "."};
      case Outcome::kSkipped: return {"skipped", "Nothing was saved."};
      default: return {"failed", "The content could not be saved."};
    }
  }

 private:
  GrabParts& parts_;
};

}  // namespace

int RunHost(GrabParts& parts) {
  if (parts.options.install) return InstallHost(parts.options, parts.out, parts.err);
  if (!host::CallerIsExtension(parts.options.pages)) {
    parts.err << "grab: host serves the PageHarvest extension only, which the browser names as "
              << host::kExtensionOrigin << " (Firefox: " << host::kGeckoExtensionId << ")\n";
    return 1;
  }
  host::StdioBytes bytes;
  host::MessageStream stream(bytes);
  host::NativeChannel channel(stream);
  // Nobody reads a host's standard error: what grab would say there is shown in the page too.
  parts.user.set_echo([&](const Message& message) { channel.Tell(host::MessageToShow(message)); });
  parts.dialog.set_asker([&](const IntakeItem& item, const std::string& suggested) {
    return AskSavePanel(channel, item, suggested);
  });
  ParsedMarkupForm form;
  GrabDelivery delivery(parts);
  host::HostSession session({parts.engine, parts.browser, parts.routed_events, parts.timers, form, delivery}, channel);
  const int status = session.Run();
  parts.user.set_echo(nullptr);
  parts.dialog.set_asker(nullptr);
  parts.SaveSettings();
  return status;
}

std::optional<DialogAnswer> AskSavePanel(host::NativeChannel& channel, const IntakeItem& item,
                                         const std::string& suggested_name) {
  const host::Json value = channel.Ask({{"type", "ask"},
                                        {"title", item.title},
                                        {"suggested", (fs::path(Home()) / suggested_name).string()},
                                        {"kinds", kKindNames},
                                        {"kind", "html"},
                                        {"append", false}});
  if (!value.is_object()) return std::nullopt;
  DialogAnswer answer;
  const auto kind = value.find("kind");
  for (int i = 0; i < 5 && kind != value.end() && kind->is_string(); ++i)
    if (*kind == kKindNames[i]) answer.kind = i;
  const auto file = value.find("file");
  if (file != value.end() && file->is_string()) answer.target = file->get<std::string>();
  const auto append = value.find("append");
  if (append != value.end() && append->is_boolean()) answer.append = append->get<bool>();
  const bool file_kind = answer.kind == kOutputText || answer.kind == kOutputXml || answer.kind == kOutputHtml;
  if (answer.kind < 0 || (file_kind && answer.target.empty())) return std::nullopt;
  return answer;
}

int InstallHost(const Options& options, std::ostream& out, std::ostream& err) {
  const fs::path launcher = XdgFolder("XDG_DATA_HOME", ".local/share") / "pageharvest" / host::kHostName;
  if (!WriteFile(launcher, Launcher(options), fs::perms::owner_all, err)) return 1;
  const std::string file = std::string(host::kHostName) + ".json";
  const fs::path config = XdgFolder("XDG_CONFIG_HOME", ".config");
  // Chromium's family reads ~/.config/<browser>/NativeMessagingHosts, Firefox ~/.mozilla/native-messaging-hosts,
  // each a manifest of its own form.
  std::vector<std::pair<fs::path, std::string>> manifests;
  for (const char* browser : {"chromium", "google-chrome", "microsoft-edge"})
    manifests.emplace_back(config / browser / "NativeMessagingHosts" / file, host::HostManifest(launcher.string()));
  manifests.emplace_back(fs::path(Home()) / ".mozilla" / "native-messaging-hosts" / file,
                         host::FirefoxHostManifest(launcher.string()));
  for (const auto& [path, manifest] : manifests) {
    if (!WriteFile(path, manifest, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                       fs::perms::others_read, err))
      return 1;
    if (!options.quiet) out << "host manifest: " << path.string() << '\n';
  }
  if (!options.quiet)
    out << "launcher: " << launcher.string() << "\n"
        << "Now load the extension: open chrome://extensions (edge://extensions in Edge), turn on Developer\n"
        << "mode, choose \"Load unpacked\" and pick the extension/ folder of PageHarvest. Its id is "
        << host::kExtensionId << ".\n"
        << "In Firefox, open about:debugging#/runtime/this-firefox, choose \"Load Temporary Add-on...\" and pick\n"
        << "extension/manifest.json (or install build/dist/pageharvest-extension.xpi where signatures are not\n"
        << "required). Its id is " << host::kGeckoExtensionId << ".\n";
  return 0;
}

}  // namespace ph::grab
