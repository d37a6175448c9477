// The save dialog's buttons: file choosers, the append check box, portions and the filled-in action.
#include "controller/intake/save_dialog_logic.h"

#include <gtest/gtest.h>

#include "controller/shell/settings.h"
#include "platform/user.h"
#include "tests/controller/intake/intake_fakes.h"

namespace ph {
namespace {

class SaveDialogLogicTest : public ::testing::Test {
 protected:
  SaveDialogLogicTest() {
    item_.html = "<i>x</i>";
    item_.text = "x";
    item_.url = "http://h/";
    item_.title = "Title";
    item_.style = "<style></style>";
    action_ = {kOutputDatabase, kPortionHtml, "previous"};
  }
  SaveDialogLogic Dialog() { return SaveDialogLogic(item_, &action_, services_, user_); }
  std::string Path(std::string folder, std::string name) { return folder + kPathSeparator + name; }

  IntakeItem item_;
  LayoutAction action_;
  test::RecordingWriters writers_;
  SettingsRecord settings_;
  OutputServices services_{writers_, [](const OutputContext& c) { return "name-" + c.title; }, settings_};
  ScriptedUser user_;
};

TEST_F(SaveDialogLogicTest, ListEntriesMapToTheirPortionCodes) {
  EXPECT_STREQ(kPortionEntries[0], "Auto");
  EXPECT_STREQ(kPortionEntries[1], "Text");
  EXPECT_STREQ(kPortionEntries[2], "HTML");
  EXPECT_EQ(PortionOfListIndex(0), kPortionAuto);
  EXPECT_EQ(PortionOfListIndex(1), kPortionText);
  EXPECT_EQ(PortionOfListIndex(2), kPortionHtml);
}

TEST_F(SaveDialogLogicTest, OpensWithTheTextAndTheAppendSetting) {
  settings_.append_files = 1;
  const SaveDialogLogic dialog = Dialog();
  EXPECT_EQ(dialog.PreviewText(), "x");
  EXPECT_TRUE(dialog.InitialAppend());
}

TEST_F(SaveDialogLogicTest, TextButtonAsksForTheFileWritesItAndFillsTheAction) {
  user_.QueuePath(Path("dir", "chosen.txt"));
  EXPECT_EQ(Dialog().SaveToFile(kOutputText, 2, false), kSaveDone);

  ASSERT_EQ(user_.choices().size(), 1u);
  const FileChoice& choice = user_.choices()[0];
  EXPECT_TRUE(choice.save);
  EXPECT_EQ(choice.default_ext, "txt");
  EXPECT_EQ(choice.filter, "Text Files (*.txt)|*.txt||");
  EXPECT_EQ(choice.initial_name, "name-Title");
  EXPECT_TRUE(choice.overwrite_prompt);

  ASSERT_EQ(writers_.calls.size(), 1u);
  EXPECT_EQ(writers_.calls[0].kind, kOutputText);
  EXPECT_EQ(writers_.calls[0].context.path, Path("dir", "chosen.txt"));
  EXPECT_EQ(writers_.calls[0].context.portion, kPortionHtml);
  EXPECT_EQ(writers_.calls[0].context.style, "<style></style>");
  EXPECT_EQ(action_, (LayoutAction{kOutputText, kPortionHtml, "dir"}));
}

TEST_F(SaveDialogLogicTest, CheckedAppendBoxSkipsTheOverwritePromptAndIsRemembered) {
  user_.QueuePath("file.xml");
  EXPECT_EQ(Dialog().SaveToFile(kOutputXml, 1, true), kSaveDone);
  EXPECT_FALSE(user_.choices()[0].overwrite_prompt);
  EXPECT_EQ(user_.choices()[0].filter, "XML Files (*.xml)|*.xml||");
  EXPECT_EQ(user_.choices()[0].default_ext, "xml");
  EXPECT_EQ(settings_.append_files, 1);
  // "Text" in the list with the XML button keeps the text portion; a path without a separator is
  // kept whole as the folder.
  EXPECT_EQ(action_, (LayoutAction{kOutputXml, kPortionText, "file.xml"}));
}

TEST_F(SaveDialogLogicTest, HtmlAlwaysAsksBeforeOverwritingAndLeavesTheAppendSettingAlone) {
  settings_.append_files = 1;
  user_.QueuePath(Path(Path("a", "b"), "p.htm"));
  EXPECT_EQ(Dialog().SaveToFile(kOutputHtml, 0, false), kSaveDone);
  EXPECT_TRUE(user_.choices()[0].overwrite_prompt);
  EXPECT_EQ(user_.choices()[0].filter, "HTML Files (*.htm;*.html)|*.htm; *.html||");
  EXPECT_EQ(user_.choices()[0].default_ext, "htm");
  EXPECT_EQ(settings_.append_files, 1);
  EXPECT_EQ(action_, (LayoutAction{kOutputHtml, kPortionAuto, Path("a", "b")}));
}

TEST_F(SaveDialogLogicTest, CancelledChooserClosesTheDialogWithNothingDone) {
  settings_.append_files = 0;
  EXPECT_EQ(Dialog().SaveToFile(kOutputText, 1, true), kSaveCancelled);
  EXPECT_TRUE(writers_.calls.empty());
  EXPECT_EQ(settings_.append_files, 0);
  EXPECT_EQ(action_, (LayoutAction{kOutputDatabase, kPortionHtml, "previous"}));
}

TEST_F(SaveDialogLogicTest, AFailingWriterStillCountsAsTheUsersChoice) {
  writers_.result = 0;
  user_.QueuePath(Path("d", "f.txt"));
  EXPECT_EQ(Dialog().SaveToFile(kOutputText, 0, false), kSaveDone);
  EXPECT_EQ(action_.kind, kOutputText);
}

TEST_F(SaveDialogLogicTest, ClipboardAndDatabaseNeedNoFile) {
  EXPECT_EQ(Dialog().SaveOther(kOutputClipboard, 2), kSaveDone);
  EXPECT_EQ(action_, (LayoutAction{kOutputClipboard, kPortionHtml, ""}));
  EXPECT_EQ(Dialog().SaveOther(kOutputDatabase, 1), kSaveDone);
  EXPECT_EQ(action_, (LayoutAction{kOutputDatabase, kPortionText, ""}));
  EXPECT_TRUE(user_.choices().empty());
  ASSERT_EQ(writers_.calls.size(), 2u);
  EXPECT_EQ(writers_.calls[1].context.path, "");
  EXPECT_EQ(writers_.calls[1].context.url, "http://h/");
}

}  // namespace
}  // namespace ph
