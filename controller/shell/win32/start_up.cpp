// Start-up in its order: settings, "/register", single instance, splash, COM, main window.
#include "controller/shell/win32/start_up.h"

#include <commctrl.h>
#include <objbase.h>

#include "common/settings_names.h"
#include "controller/intake/actions_file.h"
#include "controller/shell/command_line.h"
#include "controller/shell/program_outputs.h"
#include "controller/shell/settings.h"
#include "controller/shell/win32/main_wnd.h"
#include "controller/shell/win32/save_dlg.h"
#include "controller/shell/win32/settings_dlg.h"
#include "controller/shell/win32/splash.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/user.h"
#include "platform/win32/wide_paths.h"

namespace ph::win {
namespace {

constexpr char kInstanceMutex[] = "GrabControler1instancemutex";

void RegisterControllerPath(Registry& registry, const std::string& exe_path) {
  const auto key = registry.Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kAll);
  if (!key || !SetStringValue(*key, reg::kControllerPath, exe_path))
    ::MessageBoxA(nullptr, "Failed to register program path", "Error", MB_OK | MB_ICONERROR);
}

}  // namespace

int RunController(HINSTANCE instance, const char* arguments) {
  ::InitCommonControls();
  const std::unique_ptr<Registry> registry = MakeSystemRegistry();
  SettingsRecord settings;
  LoadSettings(*registry, &settings);
  const CommandLine command_line = ParseCommandLine(arguments ? arguments : "");
  const std::string exe_path = ModulePath(nullptr);

  if (command_line.register_path) {
    RegisterControllerPath(*registry, exe_path);
    return 0;
  }

  // Held, never waited on, until the process ends.
  const UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, kInstanceMutex));
  if (::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  if (!command_line.no_flash) ShowSplash(instance);

  ComApartment com;
  if (!CMainWnd::RegisterWindowClass(instance)) {
    ::MessageBoxA(nullptr, "Error registering class", "PageHarvest", MB_OK);
    return 1;
  }

  const std::unique_ptr<FileSystem> fs = MakeSystemFileSystem();
  const std::unique_ptr<CodePage> code_page = MakeSystemCodePage();
  Win32User writer_user;  // the writers' messages belong to the window in front (an open save dialog)
  Win32User intake_user;  // "Invalid Layout ID" is owned by the main window
  ProgramOutputs outputs(settings, *fs, writer_user, *code_page);
  const OutputServices services{outputs.writers(), outputs.suggest_name(), settings};
  Win32SaveDialogRunner dialogs(instance, services);
  IntakeProcessor intake(services, *fs, dialogs, intake_user, *code_page,
                         ModuleFolderFile(*fs, kActionsFileName));

  // One settings dialog for the whole run; the main window keeps it from opening twice at once.
  CSettingsDlg settings_dialog(settings, *registry, *fs, exe_path);
  MainWndHooks hooks;
  hooks.open_settings = [&](HWND owner) { settings_dialog.DoModal(instance, owner); };
  hooks.on_destroy = [&] {
    SaveSettings(*registry, settings, exe_path);
    com.Release();
  };
  CMainWnd main_window(instance, intake, std::move(hooks));
  if (!main_window.Create()) return 1;
  intake_user.set_owner(main_window.hwnd());

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace ph::win
