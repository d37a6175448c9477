// Opening a tab and attaching to it; closing it again.
#include "band/cdp/posix/page_tab.h"

namespace ph::cdp {

PageTab::PageTab(DevToolsClient& client) : client_(client) {
  target_ = client_.Call("Target.createTarget", {{"url", "about:blank"}}).value("targetId", "");
  session_ = client_.Call("Target.attachToTarget", {{"targetId", target_}, {"flatten", true}}).value("sessionId", "");
}

PageTab::~PageTab() {
  try {
    client_.Call("Target.closeTarget", {{"targetId", target_}}, {}, std::chrono::seconds(5));
  } catch (const DevToolsError&) {
    // Closed by the user already, or the browser is shut down after an error anyway.
  }
}

}  // namespace ph::cdp
