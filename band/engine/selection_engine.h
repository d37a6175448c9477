// The selection engine of one browser window, driven by the band shell's commands, events and timers.
#pragma once

#include <deque>

#include "band/engine/band_ports.h"
#include "band/engine/engine_settings.h"
#include "band/engine/engine_stores.h"
#include "band/engine/relocation.h"

namespace ph {

class CodePage;
class FileSystem;
class Registry;
class UrlPort;

// Shown instead of sending when every region a "Quick Save" or an "Auto Selection" found is empty.
inline constexpr char kEmptySelectionsMessage[] =
    "The selections located on this document are empty, so nothing has been saved. Perhaps the layout of "
    "this document has changed. Make a manual selection first.";

struct EnginePorts {
  BrowserPort& browser;
  ToolbarPort& toolbar;
  DocumentEventsPort& events;
  TimerPort& timers;
  MessagePort& messages;
  ControllerLinkPort& link;
  Registry& registry;
  FileSystem& files;
  UrlPort& urls;
  const CodePage& code_page;
};

// How "Quick Save" finds stored regions: as the band's "Smart Relocation" setting says, by their
// paths alone, or by their paths and, where those fail, by their fingerprints.
enum class RelocationMode { kSetting, kPaths, kSmart };

// How "Auto Selection" picks: as the band's "Auto Selection Mode" setting says, the cell or block
// with the most text of its own, or the block that holds the article.
enum class AutoSelectionMode { kSetting, kCells, kArticle };

// A picked element and the inline background it had before it was highlighted.
struct PickedElement {
  ElementPtr element;
  StyleValue saved_background;
};

class SelectionEngine : public DocumentEventSink {
 public:
  explicit SelectionEngine(const EnginePorts& ports);
  ~SelectionEngine() override;
  SelectionEngine(const SelectionEngine&) = delete;
  SelectionEngine& operator=(const SelectionEngine&) = delete;

  // Reads "layouts.dat" and then "selections.dat" from the band's folder.
  void LoadStores();

  // Toolbar and menu commands.
  void OnStartSelectionCommand(bool pressed);  // "Start Selection": widening on, start or stop
  void OnFineSelectionCommand();               // "Fine Selection": widening off, start
  void StartSelection();
  void StopSelection();
  // Leaves selection mode keeping nothing: no layout learned, nothing stored or sent, the picked
  // regions' backgrounds put back.
  void CancelSelection();
  void QuickSave();
  void AutoSelect();
  // A control-window timer expired: it is stopped and its finish runs.
  void OnTimer(int timer_id);

  // Document events while selecting.
  void OnHover(const MouseEvent& event) override;
  void OnClick(const MouseEvent& event) override;

  // Browser events.
  void OnDocumentComplete();
  void OnBeforeNavigate();
  // Whether a navigation or a new window is to be refused now.
  bool ShouldCancelNavigation() const;

  void RestoreHover();
  void RemoveTables(const ElementPtr& element);
  void RegisterLayout();
  void FinishAndSend(std::int32_t quick_save);

  // State, for the band shell and for tests.
  bool selection_active() const { return active_; }
  bool fine_selection() const { return fine_; }
  void set_fine_selection(bool fine) { fine_ = fine; }
  void set_relocation_mode(RelocationMode mode) { relocation_ = mode; }
  void set_auto_selection_mode(AutoSelectionMode mode) { auto_selection_ = mode; }
  // Whether "Auto Selection" looks for the article now (the setting is read from the registry each
  // time it is asked, as "Smart Relocation" is).
  bool ArticleAutoSelection();
  // Whether "Quick Save" relocates now (the setting is read from the registry each time it is asked).
  bool SmartRelocation();
  std::int32_t current_layout_id() const { return layout_id_; }
  const EngineSettings& settings() const { return settings_; }
  const ElementPtr& hover_element() const { return hover_; }
  const std::vector<PickedElement>& selection_list() const { return selected_; }
  const std::vector<ElementPtr>& deselection_list() const { return deselected_; }
  const std::vector<ElementPtr>& exclusion_list() const { return excluded_; }
  const LayoutStore& layouts() const { return stores_.layouts(); }
  const SelectionStore& selections() const { return stores_.selections(); }
  LayoutStore& layouts() { return stores_.layouts(); }
  SelectionStore& selections() { return stores_.selections(); }

 private:
  void ReadSettings();
  // Disconnects the documents' events, releases the button and puts the hover background back.
  void LeaveSelectionMode();
  // FinishAndSend; unattended finishes (the timers') refuse regions that are all empty.
  void Finish(std::int32_t quick_save, bool unattended);
  void Highlight(const ElementPtr& element);
  void ShowError(MessageOwner owner, const char* text, bool error_icon);
  LayoutContext layout_context() const { return {ports_.urls, ports_.code_page}; }
  // The stored layout of the page's host whose picked regions all relocate, the best of them at
  // least as well as the threshold; 0 when there is none.
  std::int32_t LayoutByRegions(const DocumentPtr& top, Relocator& relocator) const;

  EnginePorts ports_;
  EngineSettings settings_;
  RelocationMode relocation_ = RelocationMode::kSetting;
  AutoSelectionMode auto_selection_ = AutoSelectionMode::kSetting;
  bool fine_ = false;
  bool active_ = false;
  ElementPtr hover_;
  StyleValue hover_background_;
  std::vector<PickedElement> selected_;
  std::vector<ElementPtr> deselected_;
  std::vector<ElementPtr> excluded_;
  std::int32_t layout_id_ = 0;
  // Each connection with the document it was made to, so that it is undone on that document.
  std::deque<std::pair<DocumentPtr, std::uint32_t>> connections_;
  EngineStores stores_;
};

}  // namespace ph
