// Selection mode: connecting to the page, the hover highlight, modifier clicks and table removal.
#include "band/engine/selection_engine.h"

#include "band/engine/page_host.h"
#include "platform/code_page.h"
#include "platform/user.h"

namespace ph {

SelectionEngine::SelectionEngine(const EnginePorts& ports) : ports_(ports), stores_(ports.files) {}

SelectionEngine::~SelectionEngine() {
  // A band that goes away while selecting must not leave the page calling into it.
  for (auto& [document, cookie] : connections_) ports_.events.Unadvise(*document, cookie);
}

void SelectionEngine::LoadStores() { stores_.Load(); }

void SelectionEngine::ReadSettings() { ReadEngineSettings(ports_.registry, &settings_); }

bool SelectionEngine::SmartRelocation() {
  if (relocation_ != RelocationMode::kSetting) return relocation_ == RelocationMode::kSmart;
  // Only this value is taken: the others change when selection mode is switched, as always.
  EngineSettings now;
  ReadEngineSettings(ports_.registry, &now);
  settings_.smart_relocation = now.smart_relocation;
  return settings_.smart_relocation != 0;
}

void SelectionEngine::ShowError(MessageOwner owner, const char* text, bool error_icon) {
  Message message;
  message.text = text;
  message.caption = "Error";
  message.icon = error_icon ? MessageIcon::kError : MessageIcon::kNone;
  message.buttons = MessageButtons::kOk;
  ports_.messages.Show(owner, message);
}

void SelectionEngine::OnStartSelectionCommand(bool pressed) {
  fine_ = false;
  if (pressed) {
    StartSelection();
  } else {
    StopSelection();
  }
}

void SelectionEngine::OnFineSelectionCommand() {
  fine_ = true;
  StartSelection();
}

void SelectionEngine::StartSelection() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  ReadSettings();
  if (active_) return;
  for (const auto& document : CollectDocuments(top)) {
    if (auto cookie = ports_.events.Advise(*document, *this)) connections_.emplace_back(document, *cookie);
  }
  ports_.toolbar.CheckButton(kCmdStartSelection, true);
  active_ = true;
}

void SelectionEngine::LeaveSelectionMode() {
  while (!connections_.empty()) {
    auto [document, cookie] = std::move(connections_.front());
    connections_.pop_front();
    ports_.events.Unadvise(*document, cookie);
  }
  ports_.toolbar.CheckButton(kCmdStartSelection, false);
  RestoreHover();
}

void SelectionEngine::StopSelection() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  ReadSettings();
  LeaveSelectionMode();
  if (!selected_.empty()) RegisterLayout();
  FinishAndSend(0);
  active_ = false;
}

void SelectionEngine::CancelSelection() {
  if (!active_) return;
  LeaveSelectionMode();
  // The picked regions lose their highlight; what was cut out or had its tables taken stays so until
  // the page is loaded again, as it does after a finish.
  for (auto it = selected_.rbegin(); it != selected_.rend(); ++it)
    if (StylePtr style = it->element->InlineStyle()) style->SetBackgroundColor(it->saved_background);
  selected_.clear();
  deselected_.clear();
  excluded_.clear();
  active_ = false;
}

void SelectionEngine::OnHover(const MouseEvent& event) {
  ElementPtr element = event.source;
  if (!element) return;
  if (!fine_) {
    for (ElementPtr e = element; e; e = e->Parent()) {
      if (HasTag(*e, "td") || HasTag(*e, "div")) {
        element = e;
        break;
      }
    }
  }
  RestoreHover();
  StylePtr style = element->InlineStyle();
  if (!style) return;
  hover_background_ = style->BackgroundColor();
  hover_ = element;
  style->SetBackgroundColor(WidenAscii(settings_.highlight_color));
}

void SelectionEngine::RestoreHover() {
  if (!hover_) return;
  if (StylePtr style = hover_->InlineStyle()) style->SetBackgroundColor(hover_background_);
  hover_background_.reset();
  hover_.reset();
}

void SelectionEngine::OnClick(const MouseEvent& event) {
  if (event.button != 1) return;
  const ModifierSet set = MakeModifierSet(event.shift, event.ctrl, event.alt);
  // Each test on its own: equal settings make one click do several things, in this order.
  if (set == settings_.exclude_table_mod && hover_) {
    RemoveTables(hover_);
    excluded_.push_back(hover_);
  }
  if ((set == settings_.normal_mod || set == settings_.multi_mod) && hover_) {
    selected_.push_back(PickedElement{std::move(hover_), std::move(hover_background_)});
    hover_.reset();
    hover_background_.reset();
  }
  if (set == settings_.deselect_mod && hover_) {
    if (StylePtr style = hover_->InlineStyle()) style->SetBackgroundColor(WideString(u"#000000"));
    deselected_.push_back(std::move(hover_));
    hover_.reset();
    hover_background_.reset();
  }
  if (set == settings_.normal_mod) StopSelection();
}

void SelectionEngine::RemoveTables(const ElementPtr& element) {
  if (!element) return;
  bool replaced_any = false;
  CollectionPtr tables = element->ElementsByTagName(u"table");
  long left = tables ? tables->Length() : 0;
  while (left > 0) {
    bool replaced = false;
    for (long i = 0; i < left; ++i) {
      ElementPtr table = tables->Item(i);
      // The collection is live: replacing an outer table takes its nested ones with it.
      if (!table) break;
      if (table->SetOuterHtml(u"\r\n")) replaced = true;
    }
    replaced_any = replaced_any || replaced;
    tables = element->ElementsByTagName(u"table");
    const long now = tables ? tables->Length() : 0;
    // A document that refuses (or claims to replace but keeps its tables) would be asked forever.
    if (!replaced || now >= left) break;
    left = now;
  }
  if (replaced_any) ports_.toolbar.EnableButton(kCmdQuickSave, false);
}

bool SelectionEngine::ShouldCancelNavigation() const { return settings_.suppress_hyperlinks != 0 && active_; }

void SelectionEngine::OnDocumentComplete() {
  DocumentPtr top = ports_.browser.TopDocument();
  layout_id_ = top ? layouts().FindLayout(top, layout_context()) : 0;
  // With relocation a page of a host with stored layouts may be saved by one of them.
  bool can_save = layout_id_ != 0;
  if (!can_save && top && SmartRelocation())
    can_save = !layouts().LayoutsOfHost(HostOfDocument(*top, ports_.urls, ports_.code_page)).empty();
  ports_.toolbar.EnableButton(kCmdQuickSave, can_save);
}

void SelectionEngine::OnBeforeNavigate() { ports_.toolbar.EnableButton(kCmdQuickSave, false); }

void SelectionEngine::OnTimer(int timer_id) {
  if (timer_id != kQuickSaveTimer && timer_id != kAutoSelectTimer) return;
  ports_.timers.Stop(timer_id);
  // The finishes of "Quick Save" and "Auto Selection" send nothing when every region is empty.
  Finish(timer_id == kQuickSaveTimer ? 1 : 0, true);
}

}  // namespace ph
