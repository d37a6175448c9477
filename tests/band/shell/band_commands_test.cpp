// The band's display settings, its command dispatch and its routing of browser events.
#include <gtest/gtest.h>

#include "band/shell/band_commands.h"
#include "common/settings_names.h"
#include "platform/code_page.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

class RecordingView : public ToolbarView {
 public:
  bool IsChecked(int command) override { return command == kCmdStartSelection && start_pressed; }
  void UseLargeImages(bool large) override { images.push_back(large ? "large" : "small"); }
  void ShowLabels(bool shown) override { labels.push_back(shown); }
  bool start_pressed = false;
  std::vector<std::string> images;
  std::vector<bool> labels;
};

struct Band : test::EngineRig {
  BandSettings settings;
  RecordingView view;
  BandCommands commands{engine, settings, view, messages, registry};

  Band() { browser.top = std::make_shared<test::UrlDocument>(u"http://a.test/"); }
  std::unique_ptr<RegistryKey> ProductKey() { return registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey); }
  RegistryValue Stored(const char* name) {
    RegistryValue value;
    registry.GetValue(RegistryRoot::kCurrentUser, reg::kProductKey, name, &value);
    return value;
  }
};

TEST(BandSettings, HeightFollowsIconSizeAndLabelStyle) {
  EXPECT_EQ(BandHeight(1, 1), 52);
  EXPECT_EQ(BandHeight(0, 1), 44);
  EXPECT_EQ(BandHeight(7, 0), 38);
  EXPECT_EQ(BandHeight(0, 2), 22);
}

TEST(BandSettings, ValuesOfAnotherTypeAreIgnoredAndRewrittenAsBinaryOnTheNextSave) {
  Band band;
  const std::uint32_t dword = 0;
  band.ProductKey()->Set(reg::kBandIconSize, RegistryType::kDword, &dword, 4);
  SetBinaryU32(*band.ProductKey(), reg::kBandTextStyle, 1);
  ReadBandSettings(band.registry, &band.settings);
  EXPECT_EQ(band.settings.icon_size, 1);
  EXPECT_EQ(band.settings.text_style, 1);
  EXPECT_EQ(band.settings.height, 52);
  SaveBandSettings(band.registry, band.settings);
  EXPECT_EQ(band.Stored(reg::kBandIconSize).type, RegistryType::kBinary);
  EXPECT_EQ(band.Stored(reg::kBandIconSize).data, (Bytes{1, 0, 0, 0}));
}

TEST(BandSettings, AMissingProductKeyIsNotCreatedBySaving) {
  Band band;
  SaveBandSettings(band.registry, band.settings);
  EXPECT_FALSE(band.registry.KeyExists(RegistryRoot::kCurrentUser, reg::kProductKey));
}

TEST(BandCommands, DisplayCommandsChangeTheToolbarWarnAndStoreEvenWithoutAChange) {
  Band band;
  band.ProductKey();
  band.settings.text_style = 1;
  band.commands.OnCommand(kCmdLargeIcons);  // already large
  band.commands.OnCommand(kCmdSmallIcons);
  EXPECT_EQ(band.settings.height, 44);
  band.commands.OnCommand(kCmdShowText);  // 1 shows labels: they go
  EXPECT_EQ(band.settings.text_style, kTextStyleNoLabels);
  band.commands.OnCommand(kCmdShowText);
  EXPECT_EQ(band.settings.text_style, kTextStyleLabels);
  EXPECT_EQ(band.view.images, (std::vector<std::string>{"large", "small"}));
  EXPECT_EQ(band.view.labels, (std::vector<bool>{false, true}));
  ASSERT_EQ(band.messages.shown.size(), 4u);
  EXPECT_EQ(band.messages.shown[0].message.caption, "Page Grabber");
  EXPECT_EQ(band.messages.shown[0].owner, MessageOwner::kControlWindow);
  EXPECT_EQ(band.Stored(reg::kBandIconSize).data, (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(band.Stored(reg::kBandTextStyle).data, (Bytes{0, 0, 0, 0}));
  const MenuChecks checks = band.commands.CurrentMenuChecks();
  EXPECT_TRUE(checks.small_icons);
  EXPECT_FALSE(checks.large_icons);
  EXPECT_TRUE(checks.show_text);
}

TEST(BandCommands, StartSelectionFollowsTheButtonAndFineSelectionKeepsTheModeOn) {
  Band band;
  band.view.start_pressed = true;
  band.commands.OnCommand(kCmdStartSelection);
  EXPECT_TRUE(band.engine.selection_active());
  band.commands.OnCommand(kCmdFineSelection);
  EXPECT_TRUE(band.engine.selection_active());
  EXPECT_TRUE(band.engine.fine_selection());
  band.view.start_pressed = false;
  band.commands.OnCommand(kCmdStartSelection);
  EXPECT_FALSE(band.engine.selection_active());
  EXPECT_FALSE(band.engine.fine_selection());
  EXPECT_EQ(BandCommands::TooltipText(kCmdQuickSave), std::string("Quick Save"));
  EXPECT_EQ(BandCommands::TooltipText(kCmdShowText), nullptr);
}

TEST(BandEvents, NavigationIsCancelledOnlyInSelectionModeAndAlwaysDisablesQuickSave) {
  Band band;
  EXPECT_EQ(ClassifyDispid(static_cast<long>(0x80010008u)), BandEvent::kMouseOver);
  EXPECT_EQ(ClassifyDispid(-607), BandEvent::kMouseUp);
  EXPECT_EQ(ClassifyDispid(252), BandEvent::kIgnored);
  EXPECT_FALSE(RouteBrowserEvent(band.engine, ClassifyDispid(251)));
  band.toolbar.EnableButton(kCmdQuickSave, true);
  EXPECT_FALSE(RouteBrowserEvent(band.engine, ClassifyDispid(250)));
  EXPECT_EQ(band.toolbar.enabled(kCmdQuickSave), false);
  band.engine.StartSelection();
  band.toolbar.EnableButton(kCmdQuickSave, true);
  EXPECT_TRUE(RouteBrowserEvent(band.engine, ClassifyDispid(250)));
  EXPECT_EQ(band.toolbar.enabled(kCmdQuickSave), false);
  EXPECT_TRUE(RouteBrowserEvent(band.engine, ClassifyDispid(251)));
  SetBinaryU32(*band.ProductKey(), reg::kSuppressHyperlink, 0);
  band.engine.StartSelection();  // settings are read again, the mode stays on
  EXPECT_FALSE(RouteBrowserEvent(band.engine, ClassifyDispid(251)));
}

}  // namespace
}  // namespace ph
