// Several tabs of real headless Chromium loading at once: each page comes back as itself, and a tab
// that crashes takes only its own page down.
#include "band/cdp/posix/tab_pool.h"

#include <thread>

#include <gtest/gtest.h>

#include "band/cdp/posix/chromium_process.h"
#include "tests/support/loopback_http_server.h"

namespace ph::cdp {
namespace {

using namespace std::chrono_literals;

// A page that names itself once its script has changed it `steps` times 80 ms apart (a page still
// at work after its load event), or that keeps changing for ever.
std::string Page(int n, int steps, bool restless = false) {
  const std::string write = "document.getElementById('n').textContent = 'page " + std::to_string(n) + "';";
  return "<html><body><p id=n>not yet</p><script>" +
         (restless ? "setInterval(() => { document.body.dataset.t = Date.now(); " + write + " }, 30);"
                   : "let left = " + std::to_string(steps) + "; const step = () => { if (left-- <= 0) { " + write +
                         " return; } document.body.dataset.left = left; setTimeout(step, 80); }; step();") +
         "</script></body></html>";
}

struct PagesInChromium {
  PagesInChromium() { browser = ChromiumProcess::Start(ChromiumOptions{}, &error); }
  std::string Serve(int n, int steps, bool restless = false) {
    const std::string path = "/p" + std::to_string(n) + ".html";
    server.Serve(path, {200, "text/html; charset=utf-8", Page(n, steps, restless)});
    return server.Url(path);
  }
  test::LoopbackHttpServer server;
  std::string error;
  std::unique_ptr<ChromiumProcess> browser;
};

bool Names(const std::vector<RenderedDocument>& documents, int n) {
  return !documents.empty() && documents[0].html.find("page " + std::to_string(n) + "<") != std::string::npos;
}

TEST(TabPoolTest, PagesComeBackAsThemselvesWhicheverSettlesFirst) {
  if (FindProgram("chromium").empty()) GTEST_SKIP() << "chromium is not installed";
  PagesInChromium site;
  ASSERT_TRUE(site.browser) << site.error;
  TabPool pool(site.browser->client(), 3);
  // The first pages settle last; more pages than tabs, so tabs go from page to page. A 404 among
  // them fails alone.
  std::vector<TabPool::Ticket> asked;
  for (int n = 0; n < 7; ++n) asked.push_back(pool.Ask(site.Serve(n, n < 2 ? 6 - 3 * n : 0)));
  const TabPool::Ticket missing = pool.Ask(site.server.Url("/missing.html"));
  asked.push_back(pool.Ask(site.Serve(7, 0)));
  for (int n = 0; n < 7; ++n) EXPECT_TRUE(Names(pool.Take(asked[n]), n)) << "page " << n;
  EXPECT_THROW(pool.Take(missing), DevToolsError);
  EXPECT_TRUE(Names(pool.Take(asked[7]), 7));
}

TEST(TabPoolTest, ACrashedTabFailsItsPageAlone) {
  if (FindProgram("chromium").empty()) GTEST_SKIP() << "chromium is not installed";
  PagesInChromium site;
  ASSERT_TRUE(site.browser) << site.error;
  SettleTimes times;
  times.settle = 8s;
  TabPool pool(site.browser->client(), 3, times);
  // Pages that never stop changing stay in their tabs until the crash.
  const std::string doomed = site.Serve(1, 0, true);
  const TabPool::Ticket first = pool.Ask(site.Serve(0, 0)), crashed = pool.Ask(doomed),
                        beside = pool.Ask(site.Serve(2, 0, true));
  EXPECT_TRUE(Names(pool.Take(first), 0));

  // The doomed page's tab, crashed from a session of its own as a renderer that fails would be.
  DevToolsClient& client = site.browser->client();
  std::string target;
  for (int tries = 0; target.empty() && tries < 50; ++tries) {
    for (const Json& t : client.Call("Target.getTargets").value("targetInfos", Json::array()))
      if (t.value("url", "") == doomed) target = t.value("targetId", "");
    if (target.empty()) std::this_thread::sleep_for(50ms);
  }
  ASSERT_FALSE(target.empty());
  const std::string session = client.Call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}).value("sessionId", "");
  client.Send("Page.crash", Json::object(), session);

  try {
    pool.Take(crashed);
    ADD_FAILURE() << "the crashed page was taken";
  } catch (const DevToolsError& e) {
    EXPECT_NE(std::string(e.what()).find("crashed"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Names(pool.Take(beside), 2));
  // The crashed tab's place is taken by a new one.
  EXPECT_TRUE(Names(pool.Take(pool.Ask(site.Serve(3, 0))), 3));
}

}  // namespace
}  // namespace ph::cdp
