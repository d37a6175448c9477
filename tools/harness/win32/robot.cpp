// Window finding and window messages for the robot and the sender.
#include "tools/harness/win32/robot.h"

#include <commctrl.h>

namespace ph::robot {
namespace {

// File-chooser control ids of the system's template: the file name box and its older edit.
constexpr int kChooserNameCombo = 0x47c;
constexpr int kChooserNameEdit = 0x480;
// The text of a message box sits in a static control of this id.
constexpr int kMessageBoxText = 0xffff;
// The colour chooser's boxes for red, green and blue.
constexpr int kColorRed = 0x2c2;
constexpr int kColorGreen = 0x2c3;
constexpr int kColorBlue = 0x2c4;

struct Search {
  const std::string* title;
  const char* class_name;
  bool include_hidden;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  if (!search->include_hidden && !::IsWindowVisible(hwnd)) return TRUE;
  char text[512] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  if (search->title && *search->title != text) return TRUE;
  if (search->class_name) {
    char cls[64] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) != search->class_name) return TRUE;
  }
  search->found.push_back(hwnd);
  return TRUE;
}

template <typename Probe>
auto Poll(DWORD timeout_ms, Probe probe) -> decltype(probe()) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (auto result = probe()) return result;
    if (::GetTickCount() - start > timeout_ms) return probe();
    ::Sleep(10);
  }
}

// Types the path into the file chooser of that title and presses its default button; the chooser,
// or null when it did not come or had no name box.
HWND TypeIntoChooser(const char* title, const std::string& path, DWORD timeout_ms) {
  const HWND chooser = WaitForWindow(title, timeout_ms);
  if (!chooser) return nullptr;
  if (!::SetDlgItemTextA(chooser, kChooserNameCombo, path.c_str()) &&
      !::SetDlgItemTextA(chooser, kChooserNameEdit, path.c_str()))
    return nullptr;
  Click(chooser, IDOK);
  return chooser;
}

}  // namespace

HWND FindController(DWORD timeout_ms) {
  return Poll(timeout_ms, [] { return ::FindWindowA("page grabber clsname", "Page Grabber Controller"); });
}

bool SendContent(HWND controller, const HandoffFields& fields, std::int32_t layout_id, std::int32_t quick_save) {
  Bytes record = PackHandoffRecord(fields);
  COPYDATASTRUCT data = {};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(record.size());
  data.lpData = record.data();
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(controller, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                             kWaitMs, &result))
    return false;
  return ::SendMessageTimeoutA(controller, 0x0400 + 10, static_cast<WPARAM>(layout_id),
                               static_cast<LPARAM>(quick_save), SMTO_NORMAL, kWaitMs, &result) != 0;
}

void Settle(HWND window) {
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
}

std::vector<HWND> WindowsTitled(const std::string& title, const char* class_name, bool include_hidden) {
  Search search{&title, class_name, include_hidden, {}};
  ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const std::string& title, DWORD timeout_ms, const char* class_name) {
  return Poll(timeout_ms, [&]() -> HWND {
    const std::vector<HWND> found = WindowsTitled(title, class_name);
    return found.empty() ? nullptr : found.front();
  });
}

bool WaitUntilGone(HWND window, DWORD timeout_ms) {
  return Poll(timeout_ms, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

std::string ControlText(HWND dialog, int id) {
  char text[8192] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void Click(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void SetCheck(HWND dialog, int id, bool checked) {
  ::SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SelectListEntry(HWND dialog, int id, int index) {
  ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void PressKey(HWND window, UINT virtual_key) {
  ::PostMessageA(window, WM_KEYDOWN, virtual_key, 1);
  ::PostMessageA(window, WM_KEYUP, virtual_key, 0xC0000001);
}

void ClickHoldingKeys(HWND dialog, int id, unsigned keys) {
  // Sharing the dialog thread's input state for a moment lets its keyboard state be set from here.
  const DWORD own = ::GetCurrentThreadId();
  const DWORD other = ::GetWindowThreadProcessId(dialog, nullptr);
  const bool attached = ::AttachThreadInput(own, other, TRUE) != 0;
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  const BYTE before[3] = {state[VK_SHIFT], state[VK_CONTROL], state[VK_MENU]};
  state[VK_SHIFT] = (keys & 1) ? 0x80 : 0;
  state[VK_CONTROL] = (keys & 2) ? 0x80 : 0;
  state[VK_MENU] = (keys & 4) ? 0x80 : 0;
  ::SetKeyboardState(state);
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)),
                        SMTO_NORMAL, kWaitMs, &ignored);
  state[VK_SHIFT] = before[0];
  state[VK_CONTROL] = before[1];
  state[VK_MENU] = before[2];
  ::SetKeyboardState(state);
  if (attached) ::AttachThreadInput(own, other, FALSE);
}

bool SelectTreeItem(HWND tree, int index) {
  LPARAM item = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  for (int i = 0; item && i < index; ++i) item = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item);
  return item && ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
}

bool AnswerFileChooser(const std::string& path, bool* asked, DWORD timeout_ms) {
  const HWND chooser = TypeIntoChooser("Save As", path, timeout_ms);
  if (!chooser) return false;
  if (asked) *asked = false;
  // The question whether to replace the file is a message box over the chooser; its title is the
  // system's choice, its text names the file and asks.
  const bool done = Poll(timeout_ms, [&] {
    if (!::IsWindow(chooser) || !::IsWindowVisible(chooser)) return true;
    Search boxes{nullptr, "#32770", false, {}};
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes.found) {
      if (box == chooser || MessageBoxText(box).find("replace") == std::string::npos) continue;
      if (asked) *asked = true;
      Click(box, IDYES);
      WaitUntilGone(box, timeout_ms);
    }
    return false;
  });
  return done;
}

bool AnswerOpenChooser(const std::string& path, DWORD timeout_ms) {
  const HWND chooser = TypeIntoChooser("Open", path, timeout_ms);
  return chooser && WaitUntilGone(chooser, timeout_ms);
}

bool AnswerColorChooser(int red, int green, int blue, DWORD timeout_ms) {
  const HWND chooser = WaitForWindow("Color", timeout_ms);
  if (!chooser) return false;
  ::SetDlgItemInt(chooser, kColorRed, static_cast<UINT>(red), FALSE);
  ::SetDlgItemInt(chooser, kColorGreen, static_cast<UINT>(green), FALSE);
  ::SetDlgItemInt(chooser, kColorBlue, static_cast<UINT>(blue), FALSE);
  Click(chooser, IDOK);
  return WaitUntilGone(chooser, timeout_ms);
}

bool CancelFileChooser(DWORD timeout_ms) {
  const HWND chooser = WaitForWindow("Save As", timeout_ms);
  if (!chooser) return false;
  Click(chooser, IDCANCEL);
  return WaitUntilGone(chooser, timeout_ms);
}

std::string MessageBoxText(HWND box) { return ControlText(box, kMessageBoxText); }

std::string DescribeDialogs() {
  Search dialogs{nullptr, "#32770", false, {}};
  ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&dialogs));
  std::string out;
  for (HWND dialog : dialogs.found) {
    char title[256] = {};
    ::GetWindowTextA(dialog, title, sizeof title);
    out += std::string(title) + ": " + MessageBoxText(dialog) + "\n";
  }
  return out;
}

}  // namespace ph::robot
