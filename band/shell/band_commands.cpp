// The control window's decisions: command dispatch, menu check marks, tooltips, browser events.
#include "band/shell/band_commands.h"

#include "platform/user.h"

namespace ph {

void BandCommands::OnCommand(int command) {
  switch (command) {
    case kCmdStartSelection:
      // The toolbar has already toggled the check button by the time the command arrives.
      engine_.OnStartSelectionCommand(view_.IsChecked(kCmdStartSelection));
      return;
    case kCmdQuickSave:
      engine_.QuickSave();
      return;
    case kCmdSmallIcons:
    case kCmdLargeIcons:
      settings_.icon_size = command == kCmdLargeIcons ? 1 : 0;
      view_.UseLargeImages(settings_.icon_size != 0);
      UpdateBandHeight(&settings_);
      AfterDisplayChange();
      return;
    case kCmdShowText:
      settings_.text_style = settings_.text_style == kTextStyleNoLabels ? kTextStyleLabels : kTextStyleNoLabels;
      view_.ShowLabels(settings_.text_style == kTextStyleLabels);
      AfterDisplayChange();
      return;
    case kCmdFineSelection:
      engine_.OnFineSelectionCommand();
      return;
    case kCmdAutoSelection:
      engine_.AutoSelect();
      return;
    default:
      return;
  }
}

void BandCommands::AfterDisplayChange() {
  // The browser keeps the band's old size until it lays out its toolbars again.
  Message message;
  message.text = "The toolbar may need to restart for it display properly (restarting browser would work)";
  message.caption = "Page Grabber";
  messages_.Show(MessageOwner::kControlWindow, message);
  SaveBandSettings(registry_, settings_);
}

MenuChecks BandCommands::CurrentMenuChecks() const {
  MenuChecks checks;
  checks.large_icons = settings_.icon_size != 0;
  checks.small_icons = settings_.icon_size == 0;
  checks.show_text = settings_.text_style == kTextStyleLabels;
  return checks;
}

const char* BandCommands::TooltipText(int command) {
  if (command == kCmdStartSelection) return kStartSelectionLabel;
  if (command == kCmdQuickSave) return kQuickSaveLabel;
  return nullptr;
}

BandEvent ClassifyDispid(long dispid) {
  switch (dispid) {
    case 250: return BandEvent::kBeforeNavigate;
    case 251: return BandEvent::kNewWindow;
    case 259: return BandEvent::kDocumentComplete;
    case static_cast<long>(0x80010008u): return BandEvent::kMouseOver;
    case -607: return BandEvent::kMouseUp;
    default: return BandEvent::kIgnored;
  }
}

bool RouteBrowserEvent(SelectionEngine& engine, BandEvent event) {
  switch (event) {
    case BandEvent::kBeforeNavigate:
      engine.OnBeforeNavigate();
      return engine.ShouldCancelNavigation();
    case BandEvent::kNewWindow:
      return engine.ShouldCancelNavigation();
    case BandEvent::kDocumentComplete:
      engine.OnDocumentComplete();
      return false;
    default:
      return false;
  }
}

}  // namespace ph
