// A test fixture: the registered band in the stand-in browser window, and a user's hand on its toolbar.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/band/shell/win32/band_library.h"
#include "tests/band/shell/win32/browser_host.h"

namespace ph::test {

inline constexpr char kRestartMessage[] =
    "The toolbar may need to restart for it display properly (restarting browser would work)";

// A band setting as stored (REG_BINARY, 4 bytes); 0xffffffff when missing or of another type.
DWORD StoredSetting(const char* name);
void StoreSetting(const char* name, DWORD value);

class AttachedBandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the host window and attaches the band to it.
  void Attach();

  RECT ButtonRect(int command) const;
  // A left click on a button (off its drop-down arrow), as the mouse gives it.
  void ClickButton(int command) const;
  bool ButtonEnabled(int command) const;
  bool ButtonChecked(int command) const;
  std::string ButtonText(int command) const;
  // Opens the drop-down with a click on the arrow of "Start Selection"; the menu's window.
  HWND OpenMenu() const;
  // Picks a menu entry by its mnemonic, as a user typing it would, and waits until the menu has
  // closed and the band has handled the command (unless the entry opens a sub-menu).
  void Choose(HWND menu, char key, bool closes = true) const;
  // Returns once the band's thread has handled everything posted to it before.
  void WaitForBand() const;
  // Answers the restart message; false when it did not come or said something else.
  bool AnswerRestartMessage() const;

  BandLibrary library_;
  std::unique_ptr<BrowserHost> host_;
  HWND toolbar_ = nullptr;
};

}  // namespace ph::test
