// PageHarvest-Setup.exe under Wine: a silent install into a scratch folder, an upgrade over it, and
// the silent uninstall, checked through the files and the registry they leave.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/unique_handle.h"
#include "tests/support/test_paths.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kProductKey[] = "Software\\PageHarvest";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PageHarvest";
constexpr char kBandServerKey[] = "CLSID\\{5D5B2CA5-43EF-4731-93F8-A2D5EEB9D10A}\\InprocServer32";
// Where Chrome and Edge look for the native host's manifest, and where Firefox looks for its own.
const char* const kHostKeys[] = {"Software\\Google\\Chrome\\NativeMessagingHosts\\org.pageharvest.host",
                                 "Software\\Microsoft\\Edge\\NativeMessagingHosts\\org.pageharvest.host"};
constexpr char kFirefoxHostKey[] = "Software\\Mozilla\\NativeMessagingHosts\\org.pageharvest.host";
const char* const kDataFiles[] = {"layouts.dat", "selections.dat", "actions.dat"};

// Runs a program in a job of its own and waits until every process of that job has ended: the
// uninstaller runs on from a copy of itself in the temporary folder after the first one exits.
int RunToTheEnd(const std::string& command) {
  const win::UniqueKernelHandle job(::CreateJobObjectA(nullptr, nullptr));
  std::string line = command;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!job || !::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                nullptr, &startup, &info)) {
    ADD_FAILURE() << "cannot start " << command << ": error " << ::GetLastError();
    return -1;
  }
  const win::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  ::AssignProcessToJobObject(job.get(), process.get());
  ::ResumeThread(thread.get());
  if (::WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) return -1;
  for (int i = 0; i < 3000; ++i) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!::QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr) ||
        accounting.ActiveProcesses == 0)
      break;
    ::Sleep(20);
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
}

// A string value; "<missing>" when there is none.
std::string RegistryString(HKEY root, const char* key, const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return "<missing>";
  return value;
}

bool KeyExists(HKEY root, const char* key) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  ::RegCloseKey(opened);
  return true;
}

std::string StartMenuEntry() {
  char programs[MAX_PATH] = {};
  ::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs);
  return std::string(programs) + "\\PageHarvest.lnk";
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

class SetupProgram : public ::testing::Test {
 protected:
  // Under Wine the first window of a session starts the desktop's process; started from here it
  // stays out of the jobs that RunToTheEnd waits on.
  static void SetUpTestSuite() { ::GetDesktopWindow(); }

  void SetUp() override {
    // A blank in the folder name: "/D=" takes the rest of the command line as it stands.
    folder_ = MakeScratchDir("setup") + "\\Page Harvest";
    ASSERT_EQ(Install(), 0);
  }

  void TearDown() override {
    if (Exists(Uninstaller())) RunToTheEnd("\"" + Uninstaller() + "\" /S");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProductKey);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "PageHarvest");
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder_).parent_path(), ignored);
  }

  int Install() { return RunToTheEnd("\"" + WindowsPathOf(PH_SETUP_EXE) + "\" /S /D=" + folder_); }
  std::string Program() const { return folder_ + "\\PageHarvest.exe"; }
  std::string Band() const { return folder_ + "\\GrabPlugin.dll"; }
  std::string Uninstaller() const { return folder_ + "\\uninstall.exe"; }
  std::string Host() const { return folder_ + "\\PageHarvestHost.exe"; }
  std::string HostManifest() const { return folder_ + "\\org.pageharvest.host.json"; }
  std::string FirefoxHostManifest() const { return folder_ + "\\org.pageharvest.host.firefox.json"; }
  std::string Extension() const { return folder_ + "\\extension"; }

  // Starts the installed controller and waits for its window; the process, or null.
  win::UniqueKernelHandle StartController() const {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string line = "\"" + Program() + "\" /noflash";
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                          &startup, &info))
      return {};
    win::UniqueKernelHandle process(info.hProcess);
    const win::UniqueKernelHandle thread(info.hThread);
    if (!robot::FindController()) ::TerminateProcess(process.get(), 1);
    return process;
  }
  // Whether the process has ended (within a few seconds); one that has not is killed.
  static bool Ended(const win::UniqueKernelHandle& process) {
    if (::WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0) return true;
    ::TerminateProcess(process.get(), 1);
    return false;
  }

  // Each data file gets a text of its own, so that a file swapped or rewritten shows.
  void WriteDataFiles() const {
    for (const char* name : kDataFiles)
      std::ofstream(folder_ + "\\" + name, std::ios::binary) << "kept " << name;
  }
  void ExpectDataFilesKept() const {
    for (const char* name : kDataFiles)
      EXPECT_EQ(FileText(folder_ + "\\" + name), std::string("kept ") + name) << name;
  }

  std::string folder_;
};

TEST_F(SetupProgram, InstallsAndRegistersThenUninstallRemovesAllButTheData) {
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(Exists(Uninstaller()));
  EXPECT_STRCASEEQ(RegistryString(HKEY_CURRENT_USER, kProductKey, "Controller Path").c_str(),
                   Program().c_str());
#ifdef PH_BAND_BUILT
  EXPECT_TRUE(Exists(Band()));
  EXPECT_STRCASEEQ(RegistryString(HKEY_CLASSES_ROOT, kBandServerKey, nullptr).c_str(), Band().c_str());
#endif
  EXPECT_TRUE(Exists(StartMenuEntry()));

  // The extension as the source tree holds it, and its host where both browsers look for it.
  const std::string source_manifest = FileText(WindowsPathOf(SourceDir() + "/extension/manifest.json"));
  EXPECT_FALSE(source_manifest.empty());
  EXPECT_EQ(FileText(Extension() + "\\manifest.json"), source_manifest);
  EXPECT_TRUE(Exists(Host()));
  for (const char* key : kHostKeys)
    EXPECT_STRCASEEQ(RegistryString(HKEY_LOCAL_MACHINE, key, nullptr).c_str(), HostManifest().c_str()) << key;
  auto host = nlohmann::json::parse(FileText(HostManifest()), nullptr, false);
  ASSERT_TRUE(host.is_object()) << FileText(HostManifest());
  EXPECT_EQ(host.value("name", ""), "org.pageharvest.host");
  EXPECT_STRCASEEQ(host.value("path", "").c_str(), Host().c_str());
  EXPECT_EQ(host.value("type", ""), "stdio");
  EXPECT_FALSE(host.value("description", "").empty());
  EXPECT_EQ(host["allowed_origins"], nlohmann::json::array({"chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/"}));
  // Firefox refuses a manifest with Chromium's key in it: the same host under the extension's id.
  EXPECT_STRCASEEQ(RegistryString(HKEY_LOCAL_MACHINE, kFirefoxHostKey, nullptr).c_str(), FirefoxHostManifest().c_str());
  auto firefox = nlohmann::json::parse(FileText(FirefoxHostManifest()), nullptr, false);
  ASSERT_TRUE(firefox.is_object()) << FileText(FirefoxHostManifest());
  EXPECT_EQ(firefox["allowed_extensions"], nlohmann::json::array({"pageharvest@pageharvest.org"}));
  firefox.erase("allowed_extensions");
  host.erase("allowed_origins");
  EXPECT_EQ(firefox, host);

  EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "PageHarvest");
  EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), "2.37");
  EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "PageHarvest");
  EXPECT_STRCASEEQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon").c_str(),
                   (Program() + ",0").c_str());
  EXPECT_STRCASEEQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").c_str(),
                   ("\"" + Uninstaller() + "\"").c_str());
  DWORD size_kb = 0, size = sizeof size_kb;
  EXPECT_EQ(::RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr,
                           &size_kb, &size), ERROR_SUCCESS);
  EXPECT_GT(size_kb, 0u);

  // A running controller with auto-start on writes the Run entry again when it exits: the
  // uninstaller must end it before it removes the entry.
  WriteDataFiles();
  ::RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "PageHarvest", REG_SZ, Program().c_str(),
                    static_cast<DWORD>(Program().size() + 1));
  const win::UniqueKernelHandle controller = StartController();
  ASSERT_TRUE(controller);

  EXPECT_EQ(RunToTheEnd("\"" + Uninstaller() + "\" /S"), 0);
  EXPECT_TRUE(Ended(controller));
  EXPECT_FALSE(Exists(Program()));
  EXPECT_FALSE(Exists(Band()));
  EXPECT_FALSE(Exists(Uninstaller()));
  EXPECT_FALSE(Exists(StartMenuEntry()));
  EXPECT_FALSE(Exists(Host()));
  EXPECT_FALSE(Exists(HostManifest()));
  EXPECT_FALSE(Exists(FirefoxHostManifest()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kFirefoxHostKey));
  EXPECT_FALSE(Exists(Extension()));
  for (const char* key : kHostKeys) EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key)) << key;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kBandServerKey));
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, kRunKey, "PageHarvest"), "<missing>");
  EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, kProductKey, "Controller Path"), "<missing>");
  // Silent mode keeps the user's settings and data files.
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductKey));
  ExpectDataFilesKept();
}

// The running controller holds its program file, so the upgrade ends it first. The extension's
// folder is the new version's alone: a script an older version had does not stay.
TEST_F(SetupProgram, UpgradeEndsTheControllerAndKeepsTheDataFiles) {
  WriteDataFiles();
  std::ofstream(Extension() + "\\retired.js") << "old";
  const win::UniqueKernelHandle controller = StartController();
  ASSERT_TRUE(controller);
  ASSERT_EQ(Install(), 0);
  EXPECT_TRUE(Ended(controller));
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(Exists(Extension() + "\\manifest.json"));
  EXPECT_FALSE(Exists(Extension() + "\\retired.js"));
  ExpectDataFilesKept();
}

}  // namespace
}  // namespace ph::test
