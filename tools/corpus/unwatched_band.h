// The selection engine with the ports of a band that nobody watches: pages are handed to it as
// parsed documents, its timers fire when asked and what it sends is kept, in a data folder of its
// own that is removed with it. The trials run Quick Save and Auto Selection on generated pages here.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "band/engine/selection_engine.h"
#include "band/memdoc/memory_document.h"
#include "band/memdoc/memory_events.h"
#include "platform/memory_registry.h"

namespace ph::corpus {

class UnwatchedBand {
 public:
  explicit UnwatchedBand(const std::string& folder_prefix);
  ~UnwatchedBand();
  UnwatchedBand(const UnwatchedBand&) = delete;
  UnwatchedBand& operator=(const UnwatchedBand&) = delete;

  // Shows the page (HTML of the given address) as the browser's top document.
  std::shared_ptr<MemoryDocument> Show(const std::string& html, const std::string& url);
  // Runs the timers the engine started, in order, until none is left.
  void FireTimers();

  SelectionEngine& engine() { return *engine_; }
  MemoryEvents& events() { return events_; }
  // The text of every piece of content sent, in order.
  const std::vector<WideString>& sent() const { return link_.sent; }

 private:
  struct Browser : BrowserPort {
    DocumentPtr TopDocument() override { return top; }
    DocumentPtr top;
  };
  struct Toolbar : ToolbarPort {
    void CheckButton(int, bool) override {}
    void EnableButton(int, bool) override {}
  };
  struct Timers : TimerPort {
    void Start(int id, std::uint32_t) override { started.push_back(id); }
    void Stop(int) override {}
    std::vector<int> started;
  };
  struct Messages : MessagePort {
    void Show(MessageOwner, const Message&) override {}
  };
  struct Link : ControllerLinkPort {
    void Send(const DocumentPtr&, const OutgoingContent& content) override { sent.push_back(content.text); }
    std::vector<WideString> sent;
  };

  std::filesystem::path folder_;
  Browser browser_;
  Toolbar toolbar_;
  MemoryEvents events_;
  Timers timers_;
  Messages messages_;
  Link link_;
  MemoryRegistry registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<UrlPort> urls_;
  std::unique_ptr<CodePage> code_page_;
  std::unique_ptr<SelectionEngine> engine_;
};

}  // namespace ph::corpus
