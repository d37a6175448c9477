// Drives the controller the way the band and a user do: hand-off messages to its window, and
// window messages to its dialogs, message boxes and file choosers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/handoff_record.h"

namespace ph::robot {

inline constexpr DWORD kWaitMs = 10000;

// The controller's main window, found by class and title; null when it did not appear in time.
HWND FindController(DWORD timeout_ms = kWaitMs);

// Sends one record and its content information, both synchronously, as the band does.
bool SendContent(HWND controller, const HandoffFields& fields, std::int32_t layout_id, std::int32_t quick_save);

// Returns once the window's thread has come back to fetching messages, that is once the step it
// was busy with (after a dialog closed, say) has finished.
void Settle(HWND window);

// Top-level windows of the given title (and class, when given), visible ones only unless asked
// otherwise (a modal dialog is shown only once its message loop first runs idle).
std::vector<HWND> WindowsTitled(const std::string& title, const char* class_name = "#32770",
                                bool include_hidden = false);
// The first such window to appear; null after timeout_ms.
HWND WaitForWindow(const std::string& title, DWORD timeout_ms = kWaitMs, const char* class_name = "#32770");
// Waits until the window is gone; false after timeout_ms.
bool WaitUntilGone(HWND window, DWORD timeout_ms = kWaitMs);

std::string ControlText(HWND dialog, int id);
// Presses a button as a click does: the dialog gets BN_CLICKED through its own message loop, so a
// button that opens a modal window does not hold up the robot.
void Click(HWND dialog, int id);
void SetCheck(HWND dialog, int id, bool checked);
void SelectListEntry(HWND dialog, int id, int index);
// A key press at the dialog, the way its message loop sees one (Escape, Enter).
void PressKey(HWND window, UINT virtual_key);

// Clicks a control while the given modifier keys are held (bit 0 Shift, bit 1 Ctrl, bit 2 Alt), as
// the dialog's thread sees the keyboard; returns once the click has been handled.
void ClickHoldingKeys(HWND dialog, int id, unsigned keys);
// Selects the index-th visible item of a tree view, as a click on it does.
bool SelectTreeItem(HWND tree, int index);

// Answers the open file chooser (title "Save As") by typing the path and pressing Save. When the
// chooser asks before replacing the file, the question is answered Yes; *asked tells whether it came.
bool AnswerFileChooser(const std::string& path, bool* asked = nullptr, DWORD timeout_ms = kWaitMs);
// The same for a chooser that opens a file (title "Open").
bool AnswerOpenChooser(const std::string& path, DWORD timeout_ms = kWaitMs);
// Answers the system's colour chooser by typing red, green and blue and pressing OK.
bool AnswerColorChooser(int red, int green, int blue, DWORD timeout_ms = kWaitMs);
// Presses Cancel in the open file chooser.
bool CancelFileChooser(DWORD timeout_ms = kWaitMs);

// The visible dialogs and message boxes, one "title: text" line each, for failure reports.
std::string DescribeDialogs();

// The text of a message box.
std::string MessageBoxText(HWND box);

}  // namespace ph::robot
