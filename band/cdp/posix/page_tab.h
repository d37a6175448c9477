// One browser tab with its own DevTools session, closed whatever happens while a page is in it.
#pragma once

#include "band/cdp/posix/devtools_client.h"

namespace ph::cdp {

class PageTab {
 public:
  explicit PageTab(DevToolsClient& client);
  ~PageTab();
  PageTab(const PageTab&) = delete;
  PageTab& operator=(const PageTab&) = delete;

  // A command to the tab's session.
  Json Call(const std::string& method, Json params = Json::object(), Clock::duration timeout = std::chrono::seconds(30)) {
    return client_.Call(method, std::move(params), session_, timeout);
  }
  DevToolsClient& client() { return client_; }
  const std::string& session() const { return session_; }
  const std::string& target() const { return target_; }

 private:
  DevToolsClient& client_;
  std::string target_, session_;
};

}  // namespace ph::cdp
