// What the control window does with the toolbar's commands, drop-down, tooltips and timers.
#pragma once

#include "band/engine/selection_engine.h"
#include "band/shell/band_settings.h"

namespace ph {

class MessagePort;
class Registry;

// Menu commands of the drop-down on "Start Selection".
inline constexpr int kCmdSmallIcons = 204;
inline constexpr int kCmdLargeIcons = 205;
inline constexpr int kCmdShowText = 207;
inline constexpr int kCmdFineSelection = 209;
inline constexpr int kCmdAutoSelection = 210;

inline constexpr char kStartSelectionLabel[] = "Start Selection";
inline constexpr char kQuickSaveLabel[] = "Quick Save";

// The toolbar as the control window changes it, beyond what the engine does to its buttons.
class ToolbarView {
 public:
  virtual ~ToolbarView() = default;
  virtual bool IsChecked(int command) = 0;
  virtual void UseLargeImages(bool large) = 0;
  virtual void ShowLabels(bool shown) = 0;
};

struct MenuChecks {
  bool small_icons = false;
  bool large_icons = false;
  bool show_text = false;
};

class BandCommands {
 public:
  BandCommands(SelectionEngine& engine, BandSettings& settings, ToolbarView& view, MessagePort& messages,
               Registry& registry)
      : engine_(engine), settings_(settings), view_(view), messages_(messages), registry_(registry) {}

  // A WM_COMMAND from a toolbar button or a menu item; unknown commands are ignored.
  void OnCommand(int command);
  // The check marks of the drop-down menu, from the settings as they are now.
  MenuChecks CurrentMenuChecks() const;
  void OnTimer(int timer_id) { engine_.OnTimer(timer_id); }

  // The tooltip of a button: its label, whether or not the button shows it; null for other ids.
  static const char* TooltipText(int command);

 private:
  void AfterDisplayChange();

  SelectionEngine& engine_;
  BandSettings& settings_;
  ToolbarView& view_;
  MessagePort& messages_;
  Registry& registry_;
};

// The browser and page events the band object's Invoke routes; every other DISPID is ignored.
enum class BandEvent { kBeforeNavigate, kNewWindow, kDocumentComplete, kMouseOver, kMouseUp, kIgnored };
BandEvent ClassifyDispid(long dispid);

// Hands a browser event to the engine; true when the event's Cancel argument is to be set.
bool RouteBrowserEvent(SelectionEngine& engine, BandEvent event);

}  // namespace ph
