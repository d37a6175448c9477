// The helper script in our own world of each frame, the calls into it, and the reports it sends back.
#include "band/cdp/live_page.h"

#include "band/cdp/live_document.h"

namespace ph::cdp {
namespace {

constexpr char kWorldName[] = "grab-live";
constexpr char kBinding[] = "grabReport";

// Elements are handed out as numbers that stay theirs for the life of the page ([number, tag name]
// pairs), so that one round trip answers a whole collection. The bar's host element hangs off the
// root element and is left out of every answer; its markup is taken out while the root's is read.
constexpr char kHelperScript[] = R"JS((() => {
  if (globalThis.__grab) return true;
  const nodes = [null], ids = new Map();
  const all = document.getElementsByTagName('*');
  const indexOf = Array.prototype.indexOf;
  let bar = null, listening = false, refuse = false;
  const id = el => { let h = ids.get(el); if (h === undefined) { h = nodes.length; nodes.push(el); ids.set(el, h); } return h; };
  const pair = el => el && el !== bar ? [id(el), el.tagName] : null;
  const list = items => { const out = []; if (items) for (const el of items) if (el !== bar) out.push([id(el), el.tagName]); return out; };
  const node = h => { const el = nodes[h]; if (!el) throw new Error('unknown element'); return el; };
  const withoutBar = (el, read) => {
    if (!bar || bar.parentNode !== el) return read();
    const next = bar.nextSibling; bar.remove();
    try { return read(); } finally { el.insertBefore(bar, next); }
  };
  const report = (type, e) => {
    if (!listening || (bar && e.composedPath().includes(bar))) return;
    const el = e.target instanceof Element ? e.target : null;
    globalThis.grabReport(JSON.stringify({type, target: pair(el), button: e.button, shift: e.shiftKey, ctrl: e.ctrlKey, alt: e.altKey}));
  };
  const onOver = e => report('hover', e), onUp = e => report('click', e);
  const onClick = e => { if (listening && refuse && !(bar && e.composedPath().includes(bar))) e.preventDefault(); };
  globalThis.__grab = {
    node,
    body: () => pair(document.body),
    url: () => document.URL,
    title: () => document.title,
    frames: () => list(document.querySelectorAll('frame,iframe')),
    parent: h => pair(node(h).parentElement),
    children: h => list(node(h).children),
    tags: (h, tag) => list((h ? node(h) : document).getElementsByTagName(tag)),
    rows: h => list(node(h).rows),
    cells: h => list(node(h).cells),
    index: h => {
      const el = node(h);
      if (el === bar || !el.isConnected || el.ownerDocument !== document) return -1;
      const i = indexOf.call(all, el), b = bar && bar.isConnected ? indexOf.call(all, bar) : -1;
      return b >= 0 && i > b ? i - 1 : i;
    },
    contains: (a, b) => node(a).contains(node(b)),
    markup: (h, outer) => { const el = node(h); return withoutBar(el, () => outer ? el.outerHTML : el.innerHTML); },
    setMarkup: (h, outer, markup) => {
      const el = node(h);
      if (outer && !el.parentElement) return false;
      if (outer) el.outerHTML = markup; else el.innerHTML = markup;
      return true;
    },
    setText: (h, text) => { node(h).innerText = text; return true; },
    scroll: (h, top) => { node(h).scrollIntoView(top); return true; },
    attribute: (h, name) => node(h).getAttribute(name) ?? '',
    rel: h => node(h).rel ?? '',
    style: h => node(h).getAttribute('style'),
    setStyle: (h, text) => { const el = node(h); if (text) el.setAttribute('style', text); else el.removeAttribute('style'); return true; },
    box: h => { const r = node(h).getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; },
    listen: on => {
      if (on === listening) return true;
      listening = on;
      const change = on ? 'addEventListener' : 'removeEventListener';
      document[change]('mouseover', onOver, true);
      document[change]('mouseup', onUp, true);
      document[change]('click', onClick, true);
      return true;
    },
    refuseNavigation: on => { refuse = on; return true; },
    showBar: text => {
      if (bar) bar.remove();
      bar = document.createElement('grab-bar');
      const root = bar.attachShadow({mode: 'closed'});
      root.innerHTML = '<style>:host{all:initial;position:fixed;top:0;left:0;right:0;z-index:2147483647}' +
        'div{display:flex;gap:12px;align-items:center;padding:6px 10px;background:#223;color:#fff;' +
        'font:13px sans-serif;box-shadow:0 2px 6px rgba(0,0,0,.4)}span{flex:1}' +
        'button{font:inherit;padding:3px 12px;cursor:pointer}</style><div><span></span><button>Finish</button></div>';
      root.querySelector('span').textContent = text;
      const button = root.querySelector('button');
      for (const type of ['click', 'mouseup', 'mousedown', 'mouseover'])
        root.addEventListener(type, e => e.stopPropagation());
      button.addEventListener('click', () => globalThis.grabReport(JSON.stringify({type: 'finish'})));
      document.documentElement.appendChild(bar);
      return true;
    },
  };
  return true;
})())JS";

constexpr char kInvoke[] = "function(operation, args) { return globalThis.__grab[operation](...args); }";

}  // namespace

std::shared_ptr<LivePage> LivePage::Attach(PageTab& tab, const std::string& main_frame) {
  std::shared_ptr<LivePage> page(new LivePage(tab, main_frame));
  tab.Call("Runtime.enable");
  tab.Call("Runtime.addBinding", {{"name", kBinding}, {"executionContextName", kWorldName}});
  return page;
}

std::shared_ptr<LiveDocument> LivePage::Top() { return FrameDocument(main_frame_); }

std::shared_ptr<LiveDocument> LivePage::FrameDocument(const std::string& frame_id) {
  int context = 0;
  if (const auto known = contexts_.find(frame_id); known != contexts_.end()) {
    context = known->second;
    if (auto document = documents_[context].lock()) return document;
  } else {
    try {
      const Json world = tab_.Call("Page.createIsolatedWorld", {{"frameId", frame_id}, {"worldName", kWorldName}});
      context = world.value("executionContextId", 0);
      const Json result = tab_.Call("Runtime.evaluate", {{"expression", kHelperScript}, {"contextId", context},
                                                         {"returnByValue", true}});
      if (result.contains("exceptionDetails")) return nullptr;
    } catch (const DevToolsError&) {
      return nullptr;
    }
    contexts_[frame_id] = context;
  }
  auto document = std::make_shared<LiveDocument>(shared_from_this(), context);
  documents_[context] = document;
  return document;
}

Json LivePage::Invoke(int context, const char* operation, Json arguments) {
  if (gone_) throw DevToolsError("the page is gone");
  const Json result = tab_.Call("Runtime.callFunctionOn",
                                {{"functionDeclaration", kInvoke},
                                 {"executionContextId", context},
                                 {"arguments", Json::array({Json{{"value", operation}}, Json{{"value", std::move(arguments)}}})},
                                 {"returnByValue", true}});
  if (const auto error = result.find("exceptionDetails"); error != result.end())
    throw DevToolsError(std::string(operation) + ": " + error->value("text", "the page's script failed"));
  return result.value("result", Json::object()).value("value", Json());
}

std::string LivePage::FrameOfElement(int context, long handle) {
  const Json object = tab_.Call("Runtime.callFunctionOn",
                                {{"functionDeclaration", "function(h) { return globalThis.__grab.node(h); }"},
                                 {"executionContextId", context},
                                 {"arguments", Json::array({Json{{"value", handle}}})}});
  const std::string object_id = object.value("result", Json::object()).value("objectId", "");
  if (object_id.empty()) return {};
  std::string frame;
  try {
    frame = tab_.Call("DOM.describeNode", {{"objectId", object_id}}).value("node", Json::object()).value("frameId", "");
  } catch (const DevToolsError&) {
    // A frame element without a frame in it (not loaded, or taken out of the page).
  }
  tab_.Call("Runtime.releaseObject", {{"objectId", object_id}});
  return frame;
}

void LivePage::See(const Event& event, std::vector<PageReport>* reports) {
  const bool ours = event.session_id == tab_.session();
  if ((event.method == "Target.detachedFromTarget" && event.params.value("sessionId", "") == tab_.session()) ||
      (event.method == "Target.targetDestroyed" && event.params.value("targetId", "") == tab_.target()) ||
      (ours && event.method == "Inspector.detached") ||
      // The page navigated away: what was picked on it is gone with it.
      (ours && event.method == "Runtime.executionContextsCleared")) {
    gone_ = true;
    return;
  }
  if (!ours || event.method != "Runtime.bindingCalled" || event.params.value("name", "") != kBinding) return;
  const auto document = documents_.find(event.params.value("executionContextId", 0));
  if (document == documents_.end()) return;
  auto live = document->second.lock();
  Json payload = Json::parse(event.params.value("payload", ""), nullptr, false);
  // The page's own scripts cannot reach our world, but a report that does not parse is dropped all the same.
  if (!live || !payload.is_object()) return;
  reports->push_back(PageReport{std::move(live), std::move(payload)});
}

bool LivePage::Pump(Clock::time_point deadline, std::vector<PageReport>* reports) {
  auto take = [&](const Event& event) { See(event, reports); };
  tab_.client().DrainEvents(take);
  if (reports->empty() && !gone_) {
    try {
      // Any event ends the wait; those that are not reports are seen (and dropped) on the way.
      if (auto event = tab_.client().WaitForEvent([](const Event&) { return true; }, deadline)) take(*event);
      tab_.client().DrainEvents(take);
    } catch (const DevToolsError&) {
      gone_ = true;
    }
  }
  // The page's scripts have had time to run.
  Changed();
  return !gone_;
}

void LivePage::ShowBar(const std::string& text) {
  const auto top = Top();
  if (!top) throw DevToolsError("the page has no document to show the bar on");
  top->Invoke("showBar", Json::array({text}));
}

}  // namespace ph::cdp
