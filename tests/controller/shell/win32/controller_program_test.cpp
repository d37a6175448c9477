// PageHarvest.exe under Wine, used as the band and a user would: start-up switches, a second copy,
// the tray menu's Exit, content handed over, and the save dialog answered by the robot.
#include "tests/controller/shell/win32/controller_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "common/le_io.h"
#include "controller/intake/actions_file.h"
#include "platform/code_page.h"
#include "resources/resource.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kSaveTitle[] = "PageHarvest - What would you like to do with the content:";

std::string RegistryString(const char* name) {
  char value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueA(HKEY_CURRENT_USER, "Software\\PageHarvest", name, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
    return {};
  return value;
}

bool RegistryValueExists(const char* name) {
  return ::RegGetValueA(HKEY_CURRENT_USER, "Software\\PageHarvest", name, RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

HandoffFields Content(const std::string& title, const std::string& text) {
  const auto code_page = MakeSystemCodePage();
  HandoffFields fields;
  fields[kSelectionHtml] = code_page->FromAnsi("<p>" + text + "</p>");
  fields[kSelectionText] = code_page->FromAnsi(text);
  fields[kPageUrl] = u"http://127.0.0.1/page.html";
  fields[kPageTitle] = code_page->FromAnsi(title);
  return fields;
}

ActionTable Actions(const ControllerProgram& program_) {
  const Bytes bytes = program_.ReadActions();
  ActionTable table;
  ParseActions(bytes.data(), bytes.size(), &table);
  return table;
}

class ControllerProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveProductKey(); }
  void TearDown() override {
    program_.Stop();
    RemoveProductKey();
  }

  // Sends content and waits for its save dialog.
  HWND SendForDialog(HWND controller, const std::string& title, const std::string& text, std::int32_t layout,
                     std::int32_t quick = 0) {
    if (!robot::SendContent(controller, Content(title, text), layout, quick)) return nullptr;
    return robot::WaitForWindow(kSaveTitle);
  }

  ControllerProgram program_;
};

TEST_F(ControllerProgramTest, RegisterWritesTheProgramPathAndEnds) {
  ASSERT_TRUE(program_.Start("/register"));
  EXPECT_EQ(program_.WaitForExit(), 0);
  EXPECT_EQ(RegistryString("Controller Path"), program_.exe());
  EXPECT_EQ(robot::FindController(0), nullptr);
}

TEST_F(ControllerProgramTest, SecondCopyEndsAtOnceAndRegisterStillWorksBesideIt) {
  ASSERT_NE(program_.StartResident(), nullptr);
  ControllerProgram second;
  ASSERT_TRUE(second.Start("/noflash"));
  EXPECT_EQ(second.WaitForExit(), 0);
  ASSERT_TRUE(second.Start("/register"));
  EXPECT_EQ(second.WaitForExit(), 0);
  EXPECT_EQ(RegistryString("Controller Path"), second.exe());
  EXPECT_NE(robot::FindController(0), nullptr);
}

TEST_F(ControllerProgramTest, ExitFromTheTrayMenuEndsTheProgramAndWritesEverySetting) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  // Left clicks do nothing; a right click opens the menu.
  ::PostMessageA(controller, WM_USER + 2, 0, WM_LBUTTONUP);
  ::PostMessageA(controller, WM_USER + 2, 0, WM_LBUTTONDBLCLK);
  EXPECT_EQ(robot::WaitForWindow("", 300, "#32768"), nullptr);
  ::PostMessageA(controller, WM_USER + 2, 0, WM_RBUTTONUP);
  const HWND menu = robot::WaitForWindow("", robot::kWaitMs, "#32768");
  ASSERT_NE(menu, nullptr);
  // "E&xit" by its mnemonic.
  ::PostMessageA(menu, WM_KEYDOWN, 'X', 1);
  ::PostMessageA(menu, WM_CHAR, 'x', 1);
  EXPECT_EQ(program_.WaitForExit(), 0);
  for (const char* name : {"Highlight Color", "Suppress Hyperlink", "Normal Hotkey Mod", "Multi Hotkey Mod",
                           "Deselect Hotkey Mod", "Exclude Table Hotkey Mod", "Name Append Type",
                           "Name Append Len", "DB Type", "Append Files", "Datetime URL"})
    EXPECT_TRUE(RegistryValueExists(name)) << name;
}

TEST_F(ControllerProgramTest, QuickSaveWithoutLayoutIdWarnsAndThenAsks) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  ASSERT_TRUE(robot::SendContent(controller, Content("Page", "text"), 0, 1));
  const HWND box = robot::WaitForWindow("Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(robot::MessageBoxText(box), "Invalid Layout ID");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), controller);
  robot::Click(box, IDOK);
  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_NE(dialog, nullptr);
  robot::Click(dialog, IDCANCEL);
  EXPECT_TRUE(robot::WaitUntilGone(dialog));
}

TEST_F(ControllerProgramTest, SaveDialogShowsTheContentAndTheClipboardChoiceIsStored) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const HWND dialog = SendForDialog(controller, "Page", "Selected words", 7);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(robot::ControlText(dialog, IDC_PREVIEW), "Selected words");
  EXPECT_EQ(robot::ControlText(dialog, IDC_PORTION), "Auto");
  EXPECT_EQ(::SendDlgItemMessageA(dialog, IDC_PORTION, CB_GETCOUNT, 0, 0), 3);
  robot::SelectListEntry(dialog, IDC_PORTION, 2);
  robot::Click(dialog, IDC_SAVE_CLIPBOARD);
  ASSERT_TRUE(robot::WaitUntilGone(dialog));
  EXPECT_EQ(ClipboardText(), "<p>Selected words</p>");
  robot::Settle(controller);
  EXPECT_EQ(Actions(program_), (ActionTable{{7, {kOutputClipboard, kPortionHtml, ""}}}));
}

TEST_F(ControllerProgramTest, SenderProgramHandsContentOverAsTheBandDoes) {
  ASSERT_NE(program_.StartResident(), nullptr);
  std::string sender = PH_SENDER_EXE;
  if (!sender.empty() && sender[0] == '/') sender = "Z:" + sender;
  std::string command = "\"" + sender + "\" 11 0 \"Sent page\" \"handed over by the sender\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
  win::UniqueKernelHandle process(info.hProcess);
  const win::UniqueKernelHandle thread(info.hThread);
  ASSERT_EQ(::WaitForSingleObject(process.get(), robot::kWaitMs), WAIT_OBJECT_0);
  DWORD code = 1;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 0u);
  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(robot::ControlText(dialog, IDC_PREVIEW), "handed over by the sender");
  robot::Click(dialog, IDCANCEL);
  EXPECT_TRUE(robot::WaitUntilGone(dialog));
}

TEST_F(ControllerProgramTest, TextButtonTakesThePathTypedIntoTheChooser) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const HWND dialog = SendForDialog(controller, "Page", "words", 9);
  ASSERT_NE(dialog, nullptr);
  robot::SelectListEntry(dialog, IDC_PORTION, 1);
  robot::Click(dialog, IDC_SAVE_TEXT);
  ASSERT_TRUE(robot::AnswerFileChooser(program_.folder() + "\\saved.txt"));
  ASSERT_TRUE(robot::WaitUntilGone(dialog));
  robot::Settle(controller);
  EXPECT_EQ(Actions(program_), (ActionTable{{9, {kOutputText, kPortionText, program_.folder()}}}));
  EXPECT_NE(FileText(program_.folder() + "\\saved.txt").find("words"), std::string::npos);
}

TEST_F(ControllerProgramTest, TextPortionWithTheXmlButtonPutsTheTextIntoTheDataElement) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const HWND dialog = SendForDialog(controller, "Page", "plain words", 12);
  ASSERT_NE(dialog, nullptr);
  robot::SelectListEntry(dialog, IDC_PORTION, 1);
  robot::Click(dialog, IDC_SAVE_XML);
  ASSERT_TRUE(robot::AnswerFileChooser(program_.folder() + "\\saved.xml"));
  ASSERT_TRUE(robot::WaitUntilGone(dialog));
  robot::Settle(controller);
  EXPECT_EQ(Actions(program_), (ActionTable{{12, {kOutputXml, kPortionText, program_.folder()}}}));
  EXPECT_NE(FileText(program_.folder() + "\\saved.xml").find("<data>plain words</data>"), std::string::npos)
      << FileText(program_.folder() + "\\saved.xml");
}

TEST_F(ControllerProgramTest, ReplacingAFileIsAskedAboutUnlessAppending) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const std::string existing = program_.folder() + "\\existing.txt";
  std::ofstream(existing) << "old content";
  for (bool append : {true, false}) {
    SCOPED_TRACE(append ? "appending" : "replacing");
    const std::string words = append ? "appended words" : "replacing words";
    const HWND dialog = SendForDialog(controller, "Page", words, 4);
    ASSERT_NE(dialog, nullptr);
    robot::SetCheck(dialog, IDC_APPEND, append);
    robot::Click(dialog, IDC_SAVE_TEXT);
    bool asked = false;
    ASSERT_TRUE(robot::AnswerFileChooser(existing, &asked));
    EXPECT_EQ(asked, !append);
    EXPECT_TRUE(robot::WaitUntilGone(dialog));
    robot::Settle(controller);
    const std::string text = FileText(existing);
    EXPECT_NE(text.find(words), std::string::npos) << text;
    EXPECT_EQ(text.find("old content") != std::string::npos, append) << text;
  }
}

TEST_F(ControllerProgramTest, HtmlButtonAsksBeforeReplacingEvenWhenAppending) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const std::string existing = program_.folder() + "\\page.htm";
  std::ofstream(existing) << "old page";
  const HWND dialog = SendForDialog(controller, "Page", "html words", 6);
  ASSERT_NE(dialog, nullptr);
  robot::SetCheck(dialog, IDC_APPEND, true);
  robot::Click(dialog, IDC_SAVE_HTML);
  bool asked = false;
  ASSERT_TRUE(robot::AnswerFileChooser(existing, &asked));
  EXPECT_TRUE(asked);
  EXPECT_TRUE(robot::WaitUntilGone(dialog));
  robot::Settle(controller);
  EXPECT_EQ(FileText(existing).find("old page"), std::string::npos);
  EXPECT_NE(FileText(existing).find("<p>html words</p>"), std::string::npos);
  EXPECT_EQ(Actions(program_), (ActionTable{{6, {kOutputHtml, kPortionAuto, program_.folder()}}}));
}

TEST_F(ControllerProgramTest, CancelEscapeCloseBoxAndCancelledChooserStoreNothing) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const auto close_by = [&](const std::function<void(HWND)>& close) {
    const HWND dialog = SendForDialog(controller, "Page", "words", 3);
    ASSERT_NE(dialog, nullptr);
    close(dialog);
    EXPECT_TRUE(robot::WaitUntilGone(dialog));
  };
  close_by([](HWND d) { robot::Click(d, IDCANCEL); });
  close_by([](HWND d) { robot::PressKey(d, VK_ESCAPE); });
  close_by([](HWND d) { ::PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); });
  close_by([](HWND d) {
    robot::Click(d, IDC_SAVE_XML);
    EXPECT_TRUE(robot::CancelFileChooser());
  });
  robot::Settle(controller);
  EXPECT_TRUE(program_.ReadActions().empty());
}

TEST_F(ControllerProgramTest, ContentArrivingWhileADialogIsOpenGetsDialogsInArrivalOrder) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const HWND first = SendForDialog(controller, "one", "first", 1);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(robot::SendContent(controller, Content("two", "second"), 2, 0));
  ASSERT_TRUE(robot::SendContent(controller, Content("three", "third"), 3, 0));

  // Each gets a dialog of its own, the second piece's no later than the third's. Which of them is
  // shown first depends on whether the second's modal loop ran idle before the third arrived.
  std::vector<std::string> opened;
  std::vector<std::string> answered;
  const DWORD start = ::GetTickCount();
  while (answered.size() < 2 && ::GetTickCount() - start < robot::kWaitMs) {
    std::vector<std::string> now;
    for (HWND dialog : robot::WindowsTitled(kSaveTitle, "#32770", true)) {
      const std::string text = robot::ControlText(dialog, IDC_PREVIEW);
      if (text != "first" && std::find(opened.begin(), opened.end(), text) == opened.end()) now.push_back(text);
    }
    // Two first seen at once tell nothing about their order.
    if (now.size() == 2) std::sort(now.begin(), now.end());
    opened.insert(opened.end(), now.begin(), now.end());
    for (HWND dialog : robot::WindowsTitled(kSaveTitle)) {
      const std::string text = robot::ControlText(dialog, IDC_PREVIEW);
      if (text == "first" || std::find(answered.begin(), answered.end(), text) != answered.end()) continue;
      if (std::find(opened.begin(), opened.end(), text) == opened.end()) opened.push_back(text);
      answered.push_back(text);
      robot::Click(dialog, IDC_SAVE_CLIPBOARD);
      EXPECT_TRUE(robot::WaitUntilGone(dialog));
    }
    ::Sleep(2);
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"second", "third"}));
  std::sort(answered.begin(), answered.end());
  EXPECT_EQ(answered, (std::vector<std::string>{"second", "third"}));
  robot::Click(first, IDC_SAVE_CLIPBOARD);
  EXPECT_TRUE(robot::WaitUntilGone(first));
  robot::Settle(controller);
  EXPECT_EQ(Actions(program_).size(), 3u);
}

TEST_F(ControllerProgramTest, QuickSaveFallsBackToTheDialogWhenTheStoredFolderIsGone) {
  ByteWriter actions;
  actions.I32(5);
  actions.I32(kOutputText);
  actions.I32(kPortionAuto);
  actions.String(program_.folder() + "\\gone");
  actions.U32(0);
  program_.WriteActions(actions.bytes());
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const HWND dialog = SendForDialog(controller, "Page", "words", 5, 1);
  ASSERT_NE(dialog, nullptr);
  robot::Click(dialog, IDCANCEL);
  EXPECT_TRUE(robot::WaitUntilGone(dialog));
}

TEST_F(ControllerProgramTest, SplashShowsForThreeSecondsUnlessNoflashIsGivenInSmallLetters) {
  const DWORD start = ::GetTickCount();
  ASSERT_TRUE(program_.Start("/NOFLASH"));
  const HWND splash = robot::WaitForWindow("");
  ASSERT_NE(splash, nullptr);
  char owner[64] = {};
  ::GetWindowTextA(::GetWindow(splash, GW_OWNER), owner, sizeof owner);
  EXPECT_STREQ(owner, "temp");
  // Neither Escape nor Enter closes it, and the main window comes only after it.
  robot::PressKey(splash, VK_ESCAPE);
  robot::PressKey(splash, VK_RETURN);
  EXPECT_EQ(robot::FindController(1000), nullptr);
  ASSERT_NE(robot::FindController(), nullptr);
  EXPECT_GE(::GetTickCount() - start, 2900u);
  EXPECT_FALSE(::IsWindow(splash));
  program_.Stop();

  ASSERT_TRUE(program_.Start("other /noflash"));
  EXPECT_NE(robot::FindController(2000), nullptr);
  EXPECT_TRUE(robot::WindowsTitled("").empty());
}

TEST_F(ControllerProgramTest, AboutBoxShowsTheMemoryAndAsksBeforeOpeningTheSite) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  ::PostMessageA(controller, WM_COMMAND, ID_APP_ABOUT, 0);
  const HWND about = robot::WaitForWindow("About PageHarvest");
  ASSERT_NE(about, nullptr);
  const std::string memory = robot::ControlText(about, IDC_MEMORY);
  EXPECT_GE(memory.size(), 4u);
  EXPECT_EQ(memory.substr(memory.size() - 3), " KB") << memory;
  for (std::size_t i = memory.size() - 3, digits = 0; i-- > 0;) {
    if (memory[i] == ',') {
      EXPECT_EQ(digits, 3u) << memory;
      digits = 0;
    } else {
      EXPECT_TRUE(memory[i] >= '0' && memory[i] <= '9') << memory;
      ++digits;
    }
  }
  EXPECT_EQ(robot::ControlText(about, IDC_WEBSITE), "https://pageharvest.example.org/");

  ::PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_WEBSITE, STN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(about, IDC_WEBSITE)));
  const HWND confirm = robot::WaitForWindow("Confirm");
  ASSERT_NE(confirm, nullptr);
  EXPECT_EQ(robot::MessageBoxText(confirm), "This will take you to the PageHarvest website, are you sure?");
  robot::Click(confirm, IDNO);
  EXPECT_TRUE(robot::WaitUntilGone(confirm));
  EXPECT_TRUE(::IsWindowVisible(about));
  robot::Click(about, IDOK);
  EXPECT_TRUE(robot::WaitUntilGone(about));
}

TEST_F(ControllerProgramTest, TheAboutBoxOpensOnceAndExitWaitsForTheOpenSaveDialog) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  ::PostMessageA(controller, WM_COMMAND, ID_APP_ABOUT, 0);
  const HWND about = robot::WaitForWindow("About PageHarvest");
  ASSERT_NE(about, nullptr);
  ::PostMessageA(controller, WM_COMMAND, ID_APP_ABOUT, 0);
  // A second box would show once its own message loop first runs idle.
  EXPECT_FALSE(PollFor([] { return robot::WindowsTitled("About PageHarvest").size() > 1; }, 1500));
  robot::Click(about, IDOK);
  ASSERT_TRUE(robot::WaitUntilGone(about));

  // "Exit" while a save dialog is open: the dialog is finished first, and the settings it changed
  // are the ones kept.
  const HWND dialog = SendForDialog(controller, "Page", "words", 4);
  ASSERT_NE(dialog, nullptr);
  ::PostMessageA(controller, WM_COMMAND, ID_APP_EXIT, 0);
  robot::Settle(controller);
  ASSERT_TRUE(::IsWindowVisible(dialog));
  robot::SetCheck(dialog, IDC_APPEND, true);
  robot::Click(dialog, IDC_SAVE_TEXT);
  ASSERT_TRUE(robot::AnswerFileChooser(program_.folder() + "\\kept.txt"));
  EXPECT_EQ(program_.WaitForExit(), 0);
  BYTE append[4] = {};
  DWORD size = sizeof append;
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, "Software\\PageHarvest", "Append Files", RRF_RT_ANY, nullptr,
                           append, &size), ERROR_SUCCESS);
  EXPECT_EQ(append[0], 1);
}

}  // namespace
}  // namespace ph::test
