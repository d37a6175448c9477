// The band's controller link for the native host, telling the extension what became of each selection.
#pragma once

#include "band/host/host_session.h"
#include "band/shell/controller_link.h"

namespace ph::host {

// Hands selections to the controller exactly as the band does (find it, start it from "Controller
// Path" when needed, the record and then the content information) and counts what reached it: a
// selection that found no controller failed, and the link has told the user why. What the
// controller then does with it (its save dialog, a stored action) is the controller's to show.
class ControllerDelivery : public DeliveryPort, public ControllerLinkPort {
 public:
  ControllerDelivery(ControllerProcessPort& process, Registry& registry, Clock& clock, MessagePort& messages)
      : counter_(process), link_(counter_, registry, clock, messages) {}

  void Send(const DocumentPtr& top, const OutgoingContent& content) override;
  void Reset() override;
  Delivery Result() override;

 private:
  // The process port, counting the hand-offs.
  class CountingProcess : public ControllerProcessPort {
   public:
    explicit CountingProcess(ControllerProcessPort& process) : process_(process) {}
    ControllerWindow FindControllerWindow() override { return process_.FindControllerWindow(); }
    void Launch(const std::string& path) override { process_.Launch(path); }
    void Deliver(ControllerWindow window, const Bytes& record, std::int32_t layout_id,
                 std::int32_t quick_save) override;
    int delivered = 0;

   private:
    ControllerProcessPort& process_;
  };

  CountingProcess counter_;
  ControllerLink link_;
  int sent_ = 0;
};

}  // namespace ph::host
