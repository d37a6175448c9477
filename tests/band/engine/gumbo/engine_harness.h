// A selection engine wired to in-memory pages, files and recorders, with the mouse of a user.
#pragma once

#include "band/engine/selection_engine.h"
#include "band/memdoc/memory_document.h"
#include "band/memdoc/memory_events.h"
#include "platform/code_page.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"
#include "tests/support/test_paths.h"

namespace ph::test {

inline std::string PagesDir() { return SourceDir() + "/tests/pages"; }

inline std::shared_ptr<MemoryDocument> Page(const std::string& file) {
  auto doc = LoadPageFile(PagesDir(), file);
  if (!doc) ADD_FAILURE() << "cannot load " << file;
  return doc;
}

struct EngineHarness {
  MemoryFiles files;
  SimpleUrls urls;
  Windows1252 code_page;
  MemoryRegistry registry;
  FixedBrowser browser;
  RecordingToolbar toolbar;
  MemoryEvents events;
  RecordingTimers timers;
  RecordingMessages messages;
  RecordingLink link;
  SelectionEngine engine{EnginePorts{browser, toolbar, events, timers, messages, link, registry, files, urls, code_page}};

  std::shared_ptr<MemoryDocument> Show(const std::string& file) {
    auto doc = Page(file);
    browser.top = doc;
    return doc;
  }
  std::shared_ptr<MemoryDocument> ShowHtml(const std::string& html, WideString url = u"http://site.test/page") {
    auto doc = MemoryDocument::Parse(html, std::move(url));
    browser.top = doc;
    return doc;
  }

  // The mouse over an element, then a left click with the keys held.
  void Pick(const ElementPtr& element, bool shift, bool ctrl, bool alt) {
    events.Hover(element);
    events.Click(element, shift, ctrl, alt);
  }
  void Select(const ElementPtr& e) { Pick(e, true, false, false); }     // Shift: pick, go on
  void SelectAndEnd(const ElementPtr& e) { Pick(e, false, true, false); }  // Ctrl: pick, end
  void Deselect(const ElementPtr& e) { Pick(e, false, false, true); }    // Alt
  void ExcludeTables(const ElementPtr& e) { Pick(e, false, true, true); }  // Ctrl+Alt

  // Runs the timer the engine started, as the control window does when it expires.
  bool FireTimer(int id) {
    if (!timers.running.count(id)) return false;
    engine.OnTimer(id);
    return true;
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages.shown) texts.push_back(m.message.text);
    return texts;
  }
};

inline std::u16string Wide(const std::string& ascii) { return WidenAscii(ascii); }

}  // namespace ph::test
