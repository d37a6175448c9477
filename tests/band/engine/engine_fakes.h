// Stand-ins for the ports around the engine: files and URLs in memory, recorders for the rest.
#pragma once

#include <map>
#include <sstream>

#include "band/engine/band_ports.h"
#include "band/engine/layout_node.h"
#include "band/engine/selection_engine.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/url.h"
#include "platform/user.h"
#include "tests/support/memory_file_system.h"

namespace ph::test {

// The band's data files in memory, beside a library in /band/.
class MemoryFiles : public MemoryFileSystem {
 public:
  MemoryFiles() : MemoryFileSystem("/band/") {}
};

// "scheme://host[:port]/..." gives the host; anything else has none.
class SimpleUrls : public UrlPort {
 public:
  bool Combine(std::string_view, std::string_view, std::string*) override { return false; }
  bool DecodedPath(std::string_view, std::string*) override { return false; }
  bool Host(std::string_view url, std::string* host) override {
    const auto scheme = url.find("://");
    if (scheme == std::string_view::npos) return false;
    const auto start = scheme + 3;
    const auto end = url.find_first_of(":/?#", start);
    *host = std::string(url.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    return !host->empty();
  }
};

class FixedBrowser : public BrowserPort {
 public:
  DocumentPtr TopDocument() override { return top; }
  DocumentPtr top;
};

class RecordingToolbar : public ToolbarPort {
 public:
  void CheckButton(int command, bool checked) override { checked_[command] = checked; }
  void EnableButton(int command, bool enabled) override { enabled_[command] = enabled; }
  std::optional<bool> checked(int command) const {
    auto it = checked_.find(command);
    return it == checked_.end() ? std::nullopt : std::optional<bool>(it->second);
  }
  std::optional<bool> enabled(int command) const {
    auto it = enabled_.find(command);
    return it == enabled_.end() ? std::nullopt : std::optional<bool>(it->second);
  }

 private:
  std::map<int, bool> checked_, enabled_;
};

// Connections as the browser makes them; the tests call the engine's handlers themselves.
class RecordingEvents : public DocumentEventsPort {
 public:
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink&) override {
    connected[next_] = &document;
    return next_++;
  }
  void Unadvise(Document& document, std::uint32_t cookie) override {
    if (connected.count(cookie) && connected[cookie] == &document) connected.erase(cookie);
  }
  std::map<std::uint32_t, Document*> connected;

 private:
  std::uint32_t next_ = 1;
};

class RecordingTimers : public TimerPort {
 public:
  void Start(int id, std::uint32_t ms) override { running[id] = ms; }
  void Stop(int id) override { running.erase(id); }
  std::map<int, std::uint32_t> running;
};

class RecordingMessages : public MessagePort {
 public:
  struct Shown {
    MessageOwner owner;
    Message message;
  };
  void Show(MessageOwner owner, const Message& message) override { shown.push_back({owner, message}); }
  std::vector<Shown> shown;
};

class RecordingLink : public ControllerLinkPort {
 public:
  void Send(const DocumentPtr& top, const OutgoingContent& content) override { sent.push_back(content); }
  std::vector<OutgoingContent> sent;
};

// A document that has an address and nothing else.
class UrlDocument : public Document {
 public:
  explicit UrlDocument(std::optional<WideString> url) : url_(std::move(url)) {}
  ElementPtr Body() override { return nullptr; }
  std::optional<WideString> Url() override { return url_; }
  std::optional<WideString> Title() override { return std::nullopt; }
  CollectionPtr ElementsByTagName(WideView) override { return nullptr; }
  std::vector<DocumentPtr> FrameDocuments() override { return {}; }

 private:
  std::optional<WideString> url_;
};

// A layout signature with one table per entry of rows; each row lists its number of cells.
inline LayoutNode TablePage(const std::vector<std::vector<int>>& tables) {
  LayoutNode doc(kLayoutDocument);
  for (const auto& rows : tables) {
    LayoutNode* t = doc.AddChild(kLayoutTable);
    for (int cells : rows) {
      LayoutNode* r = t->AddChild(kLayoutRow);
      for (int c = 0; c < cells; ++c) r->AddChild(kLayoutCell);
    }
  }
  return doc;
}

// A selection engine on recording ports: what a band around it would see and do.
struct EngineRig {
  MemoryFiles files;
  SimpleUrls urls;
  Windows1252 code_page;
  MemoryRegistry registry;
  FixedBrowser browser;
  RecordingToolbar toolbar;
  RecordingEvents events;
  RecordingTimers timers;
  RecordingMessages messages;
  RecordingLink link;
  SelectionEngine engine{EnginePorts{browser, toolbar, events, timers, messages, link, registry, files, urls, code_page}};
};

}  // namespace ph::test
