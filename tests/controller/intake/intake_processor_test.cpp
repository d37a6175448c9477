// The intake from record to stored action: queueing, quick saves, the fall-back to the save dialog,
// and what ends up in the action table and in "actions.dat".
#include "controller/intake/intake_processor.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/handoff_record.h"
#include "controller/intake/actions_file.h"
#include "controller/intake/save_dialog_logic.h"
#include "controller/shell/settings.h"
#include "platform/code_page.h"
#include "platform/user.h"
#include "tests/controller/intake/intake_fakes.h"

namespace ph {
namespace {

constexpr char kActionsPath[] = "/app/actions.dat";
constexpr char kFolder[] = "/out";

// Each dialog shown takes the next scripted press; a dialog without one is cancelled.
using Press = std::function<int(SaveDialogLogic&)>;

class ScriptedDialog : public SaveDialogRunner {
 public:
  ScriptedDialog(const OutputServices& services, UserPort& user) : services_(services), user_(user) {}

  int Run(const IntakeItem& item, LayoutAction* action) override {
    shown.push_back(item);
    SaveDialogLogic logic(item, action, services_, user_);
    if (presses.empty()) return kSaveCancelled;
    Press press = std::move(presses.front());
    presses.pop_front();
    return press(logic);
  }

  std::deque<Press> presses;
  std::vector<IntakeItem> shown;

 private:
  OutputServices services_;
  UserPort& user_;
};

class IntakeProcessorTest : public ::testing::Test {
 protected:
  IntakeProcessorTest() { fs_.folders.insert(kFolder); }

  // Hands over one piece of content the way the band does; returns whether a process message is due.
  bool Send(std::u16string title, std::int32_t layout, std::int32_t quick, std::u16string text = u"body") {
    const Bytes record = PackHandoffRecord({u"<p>" + text + u"</p>", text, u"http://host/page", title, u""});
    processor_.OnRecord(record.data(), record.size());
    return processor_.OnContentInfo(layout, quick);
  }
  void Store(std::int32_t layout, LayoutAction action) {
    ActionTable table;
    LoadActions(fs_, kActionsPath, &table);
    table[layout] = std::move(action);
    SaveActions(fs_, kActionsPath, table);
    processor_.LoadActions();
  }
  ActionTable OnDisk() {
    ActionTable table;
    ParseActions(fs_.files.at(kActionsPath).data(), fs_.files.at(kActionsPath).size(), &table);
    return table;
  }

  test::MemoryFileSystem fs_;
  test::RecordingWriters writers_;
  SettingsRecord settings_;
  OutputServices services_{writers_, [](const OutputContext& c) { return c.title; }, settings_};
  ScriptedUser user_;
  ScriptedDialog dialog_{services_, user_};
  Windows1252 code_page_;
  IntakeProcessor processor_{services_, fs_, dialog_, user_, code_page_, kActionsPath};
};

Press PressClipboard(int list_index = 0) {
  return [=](SaveDialogLogic& d) { return d.SaveOther(kOutputClipboard, list_index); };
}

TEST_F(IntakeProcessorTest, RecordIsQueuedAndTakesTheLayoutValuesOfTheFollowingMessage) {
  const Bytes record = PackHandoffRecord({u"<b>h</b>", u"t\u00e9", u"u", u"T", u"s"});
  processor_.OnRecord(record.data(), record.size());
  ASSERT_EQ(processor_.queue().size(), 1u);
  EXPECT_EQ(processor_.queue()[0].layout_id, 0);
  EXPECT_EQ(processor_.queue()[0].text, "t\xe9");

  EXPECT_TRUE(processor_.OnContentInfo(12, 1));
  EXPECT_EQ(processor_.queue()[0].layout_id, 12);
  EXPECT_EQ(processor_.queue()[0].quick_save, 1);
  EXPECT_TRUE(dialog_.shown.empty());
}

TEST_F(IntakeProcessorTest, ContentInfoWithoutRecordIsDroppedAndEmptyQueueDoesNothing) {
  EXPECT_FALSE(processor_.OnContentInfo(3, 1));
  processor_.ProcessNext();
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_TRUE(user_.messages().empty());
}

// Two bands send at once: B's record arrives between A's record and A's layout values. Which record
// the values belong to cannot be known, so neither takes a layout or a quick save: both go to the
// dialog as a user's own selection, and nothing is stored.
TEST_F(IntakeProcessorTest, InterleavedSendersNeverLendEachOtherTheirLayout) {
  Store(1, {kOutputClipboard, kPortionAuto, ""});
  Store(2, {kOutputDatabase, kPortionAuto, ""});
  const Bytes a = PackHandoffRecord({u"a", u"a", u"http://a/", u"A", u""});
  const Bytes b = PackHandoffRecord({u"b", u"b", u"http://b/", u"B", u""});
  const Bytes c = PackHandoffRecord({u"c", u"c", u"http://c/", u"C", u""});
  int due = 0;
  processor_.OnRecord(a.data(), a.size());
  processor_.OnRecord(b.data(), b.size());
  due += processor_.OnContentInfo(1, 1);
  // C sends while B's values are still on their way, and its own overtake them.
  processor_.OnRecord(c.data(), c.size());
  due += processor_.OnContentInfo(2, 1);
  due += processor_.OnContentInfo(1, 1);
  dialog_.presses = {PressClipboard(), PressClipboard(), PressClipboard()};
  for (int i = 0; i < due; ++i) processor_.ProcessNext();
  EXPECT_EQ(due, 3);
  EXPECT_TRUE(writers_.calls.size() == 3 && dialog_.shown.size() == 3);
  for (const IntakeItem& shown : dialog_.shown) EXPECT_EQ(shown.layout_id, 0) << shown.title;
  EXPECT_EQ(processor_.actions().at(2).kind, kOutputDatabase);
  // With the stray values gone, a lone sender is paired again.
  Send(u"D", 2, 1);
  processor_.ProcessNext();
  EXPECT_EQ(writers_.calls.back().kind, kOutputDatabase);
}

TEST_F(IntakeProcessorTest, QuickSaveRunsTheStoredActionWithoutDialog) {
  Store(5, {kOutputText, kPortionHtml, kFolder});
  Send(u"Page", 5, 1);
  processor_.ProcessNext();
  ASSERT_EQ(writers_.calls.size(), 1u);
  EXPECT_EQ(writers_.calls[0].kind, kOutputText);
  EXPECT_EQ(writers_.calls[0].context.path, std::string(kFolder) + kPathSeparator + "Page.txt");
  EXPECT_EQ(writers_.calls[0].context.portion, kPortionHtml);
  EXPECT_EQ(writers_.calls[0].context.html, "<p>body</p>");
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_TRUE(processor_.queue().empty());
}

TEST_F(IntakeProcessorTest, StoredFileActionsRespectExistingFilesAndTheAppendSetting) {
  const std::string base = std::string(kFolder) + kPathSeparator + "Page";
  fs_.files[base + ".txt"] = {'x'};
  fs_.files[base + ".xml"] = {'x'};
  fs_.files[base + ".htm"] = {'x'};
  struct Case {
    std::int32_t kind;
    std::int32_t append;
    bool dialog;
  } cases[] = {{kOutputText, 0, true}, {kOutputText, 1, false}, {kOutputXml, 0, true},
               {kOutputXml, 1, false}, {kOutputHtml, 1, true}, {kOutputHtml, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " append " << c.append);
    settings_.append_files = c.append;
    writers_.calls.clear();
    dialog_.shown.clear();
    Store(5, {c.kind, kPortionAuto, kFolder});
    Send(u"Page", 5, 1);
    processor_.ProcessNext();
    EXPECT_EQ(dialog_.shown.size(), c.dialog ? 1u : 0u);
    EXPECT_EQ(writers_.calls.size(), c.dialog ? 0u : 1u);
  }
}

TEST_F(IntakeProcessorTest, MissingFolderOrFailingWriterFallsBackToTheDialog) {
  Store(1, {kOutputXml, kPortionAuto, "/gone"});
  Store(2, {kOutputHtml, kPortionAuto, ""});
  Store(3, {kOutputDatabase, kPortionAuto, ""});
  writers_.result = 0;
  Send(u"a", 1, 1);
  Send(u"b", 2, 1);
  Send(u"c", 3, 1);
  for (int i = 0; i < 3; ++i) processor_.ProcessNext();
  ASSERT_EQ(dialog_.shown.size(), 3u);
  EXPECT_EQ(dialog_.shown[2].title, "c");
  // Only the database writer was reached; it failed, and the user was asked next.
  ASSERT_EQ(writers_.calls.size(), 1u);
  EXPECT_EQ(writers_.calls[0].kind, kOutputDatabase);
}

TEST_F(IntakeProcessorTest, UnknownKindFromDamagedFileCountsAsDoneWithoutOutput) {
  Store(8, {77, kPortionAuto, ""});
  Send(u"p", 8, 1);
  processor_.ProcessNext();
  EXPECT_TRUE(writers_.calls.empty());
  EXPECT_TRUE(dialog_.shown.empty());
}

TEST_F(IntakeProcessorTest, QuickSaveWithoutLayoutIdWarnsThenAsks) {
  dialog_.presses.push_back(PressClipboard());
  Send(u"p", 0, 1);
  processor_.ProcessNext();
  ASSERT_EQ(user_.messages().size(), 1u);
  EXPECT_EQ(user_.messages()[0].text, "Invalid Layout ID");
  EXPECT_EQ(user_.messages()[0].caption, "Error");
  EXPECT_EQ(user_.messages()[0].icon, MessageIcon::kError);
  EXPECT_EQ(dialog_.shown.size(), 1u);
  // Without a layout there is nothing to remember the choice under.
  EXPECT_TRUE(processor_.actions().empty());
  EXPECT_EQ(fs_.files.count(kActionsPath), 0u);
}

TEST_F(IntakeProcessorTest, ManualSelectionAlwaysAsksAndTheChoiceBecomesTheStoredAction) {
  Store(4, {kOutputText, kPortionAuto, kFolder});
  dialog_.presses.push_back(PressClipboard(1));
  Send(u"p", 4, 0);
  processor_.ProcessNext();
  ASSERT_EQ(dialog_.shown.size(), 1u);
  const LayoutAction expected{kOutputClipboard, kPortionText, ""};
  EXPECT_EQ(processor_.actions().at(4), expected);
  EXPECT_EQ(OnDisk().at(4), expected);

  // The next quick save of the layout uses it.
  writers_.calls.clear();
  Send(u"p", 4, 1);
  processor_.ProcessNext();
  ASSERT_EQ(writers_.calls.size(), 1u);
  EXPECT_EQ(writers_.calls[0].kind, kOutputClipboard);
  EXPECT_EQ(writers_.calls[0].context.portion, kPortionText);
}

TEST_F(IntakeProcessorTest, CancelKeepsTableAndFileAsTheyWere) {
  Store(4, {kOutputXml, kPortionAuto, kFolder});
  const Bytes before = fs_.files.at(kActionsPath);
  Send(u"p", 4, 0);
  processor_.ProcessNext();
  EXPECT_EQ(dialog_.shown.size(), 1u);
  EXPECT_EQ(fs_.files.at(kActionsPath), before);
  EXPECT_EQ(processor_.actions().at(4).kind, kOutputXml);
  EXPECT_TRUE(writers_.calls.empty());
}

TEST_F(IntakeProcessorTest, ContentArrivingWhileADialogIsOpenGetsItsOwnDialogsInOrder) {
  // While the first dialog is up, two more pieces arrive and are processed by the modal loop.
  dialog_.presses.push_back([&](SaveDialogLogic& d) {
    EXPECT_TRUE(processor_.queue().empty());
    if (Send(u"second", 2, 0)) processor_.ProcessNext();
    if (Send(u"third", 3, 0)) processor_.ProcessNext();
    return d.SaveOther(kOutputDatabase, 0);
  });
  dialog_.presses.push_back(PressClipboard());
  dialog_.presses.push_back(PressClipboard(2));
  Send(u"first", 1, 0);
  processor_.ProcessNext();

  ASSERT_EQ(dialog_.shown.size(), 3u);
  EXPECT_EQ(dialog_.shown[0].title, "first");
  EXPECT_EQ(dialog_.shown[1].title, "second");
  EXPECT_EQ(dialog_.shown[2].title, "third");
  EXPECT_EQ(OnDisk(), (ActionTable{{1, {kOutputDatabase, kPortionAuto, ""}},
                                   {2, {kOutputClipboard, kPortionAuto, ""}},
                                   {3, {kOutputClipboard, kPortionHtml, ""}}}));
}

TEST_F(IntakeProcessorTest, NothingIsTakenInOrStartedOnceShutdownBegins) {
  Send(u"queued", 1, 0);
  processor_.BeginShutdown();
  EXPECT_FALSE(Send(u"late", 2, 0));
  processor_.ProcessNext();
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_EQ(processor_.queue().size(), 1u);
}

TEST_F(IntakeProcessorTest, ProgramEndingUnderTheWarningOpensNoDialog) {
  // The user port stands for the message box, during whose loop the main window goes.
  struct EndingUser : ScriptedUser {
    IntakeProcessor* processor = nullptr;
    Answer Show(const Message& m) override {
      processor->BeginShutdown();
      return ScriptedUser::Show(m);
    }
  } ending;
  IntakeProcessor ending_processor(services_, fs_, dialog_, ending, code_page_, kActionsPath);
  ending.processor = &ending_processor;
  const Bytes record = PackHandoffRecord({u"h", u"t", u"u", u"T", u""});
  ending_processor.OnRecord(record.data(), record.size());
  ASSERT_TRUE(ending_processor.OnContentInfo(0, 1));
  ending_processor.ProcessNext();
  EXPECT_EQ(ending.messages().size(), 1u);
  EXPECT_TRUE(dialog_.shown.empty());
}

}  // namespace
}  // namespace ph
