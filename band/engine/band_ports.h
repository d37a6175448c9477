// Ports of the band around the engine: page, toolbar, event connection, timers, message boxes, controller link.
#pragma once

#include <cstdint>
#include <optional>

#include "band/engine/document.h"

namespace ph {

// The band shell implements each port with a few Win32 or COM calls and forwards everything else to
// the engine, so that all decisions are made, and tested, here.

struct Message;

// Toolbar commands of the band.
inline constexpr int kCmdStartSelection = 101;
inline constexpr int kCmdQuickSave = 102;

// Timers of the control window that finish a "Quick Save" (1) or an "Auto Selection" (2).
inline constexpr int kQuickSaveTimer = 1;
inline constexpr int kAutoSelectTimer = 2;
inline constexpr std::uint32_t kFinishDelayMs = 500;

class BrowserPort {
 public:
  virtual ~BrowserPort() = default;
  // The document the browser window shows now; null while there is none (or it is not HTML).
  virtual DocumentPtr TopDocument() = 0;
};

class ToolbarPort {
 public:
  virtual ~ToolbarPort() = default;
  virtual void CheckButton(int command, bool checked) = 0;
  virtual void EnableButton(int command, bool enabled) = 0;
};

// The engine's handlers for the events of the documents it is connected to.
class DocumentEventSink {
 public:
  virtual ~DocumentEventSink() = default;
  virtual void OnHover(const MouseEvent& event) = 0;
  virtual void OnClick(const MouseEvent& event) = 0;
};

// Connects the sink to a document's mouse events (the HTMLDocumentEvents2 connection point).
class DocumentEventsPort {
 public:
  virtual ~DocumentEventsPort() = default;
  // The connection's cookie, or nothing when the document refuses the connection.
  virtual std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) = 0;
  virtual void Unadvise(Document& document, std::uint32_t cookie) = 0;
};

class TimerPort {
 public:
  virtual ~TimerPort() = default;
  virtual void Start(int timer_id, std::uint32_t milliseconds) = 0;
  virtual void Stop(int timer_id) = 0;
};

// Which window owns a message box.
enum class MessageOwner { kBrowserWindow, kControlWindow };

class MessagePort {
 public:
  virtual ~MessagePort() = default;
  virtual void Show(MessageOwner owner, const Message& message) = 0;
};

// One finished selection on its way to the controller.
struct OutgoingContent {
  WideString html;
  WideString text;
  std::int32_t layout_id = 0;
  std::int32_t quick_save = 0;
};

// Finds or starts the controller and hands it the content with the page's URL, title and style
// markup (which it reads from the top document).
class ControllerLinkPort {
 public:
  virtual ~ControllerLinkPort() = default;
  virtual void Send(const DocumentPtr& top, const OutgoingContent& content) = 0;
};

}  // namespace ph
