// Counting what the band's controller link handed to the controller.
#include "band/host/program/controller_delivery.h"

namespace ph::host {

void ControllerDelivery::CountingProcess::Deliver(ControllerWindow window, const Bytes& record,
                                                  std::int32_t layout_id, std::int32_t quick_save) {
  process_.Deliver(window, record, layout_id, quick_save);
  ++delivered;
}

void ControllerDelivery::Send(const DocumentPtr& top, const OutgoingContent& content) {
  ++sent_;
  link_.Send(top, content);
}

void ControllerDelivery::Reset() {
  sent_ = 0;
  counter_.delivered = 0;
}

Delivery ControllerDelivery::Result() {
  if (sent_ == 0) return {"skipped", "Nothing was saved."};
  if (counter_.delivered < sent_) return {"failed", "PageHarvest could not be reached; the selection was not saved."};
  return {"saved", "Handed to PageHarvest."};
}

}  // namespace ph::host
