// The browser's extension API for Firefox, in the shape every other file of the extension uses.
//
// The same vAPI as platform/chromium/vapi.js, over Firefox's browser.* (promises throughout). The
// background runs as a page of scripts (the manifest's background.scripts) rather than a service
// worker, and a frame's script can name the frame id of a child frame itself (runtime.getFrameId).
// Loaded as a classic script in the background, the popup and every frame the extension works in,
// possibly more than once in the same world; in a browser that is not Firefox (the popup loads the
// file of each family) it does nothing.
'use strict';

(() => {
  const api = globalThis.browser;
  if (globalThis.vAPI || !api || !api.runtime || typeof api.runtime.getFrameId !== 'function') return;

  const noReceiver = error => /Receiving end does not exist|Could not establish connection/.test(String(error && error.message));

  // A handler's failure travels as text and is thrown again on the asking side, as an Error of its own
  // kind so that it is never taken for the browser's "nobody listening".
  class ReplyError extends Error {}
  const unwrap = reply => {
    if (reply && typeof reply === 'object' && 'error' in reply) throw new ReplyError(reply.error);
    return reply ? reply.value : undefined;
  };

  // Messages by channel, as in Chromium; Firefox takes the listener's promise as the answer.
  const channels = new Map();
  let listening = false;
  const onMessage = (message, sender) => {
    const handlers = message && channels.get(message.channel);
    const handler = handlers && handlers[message.what];
    if (!handler) return undefined;
    const from = {tabId: sender.tab ? sender.tab.id : -1, frameId: sender.frameId ?? -1, url: sender.url ?? ''};
    return Promise.resolve()
      .then(() => handler(message.body ?? {}, from))
      .then(value => ({value}), error => ({error: String((error && error.message) || error)}));
  };

  const messaging = {
    send: (channel, what, body) => api.runtime.sendMessage({channel, what, body}).then(unwrap),
    sendToFrame: (tabId, frameId, channel, what, body) =>
      api.tabs.sendMessage(tabId, {channel, what, body}, {frameId}).then(unwrap),
    listen(channel, handlers) {
      channels.set(channel, handlers);
      if (!listening) api.runtime.onMessage.addListener(onMessage);
      listening = true;
    },
    noReceiver,
  };

  // Firefox gives the reason a host ended on the port itself, not in runtime.lastError.
  const native = {
    connect(name, onMessage, onEnded) {
      const port = api.runtime.connectNative(name);
      port.onMessage.addListener(onMessage);
      port.onDisconnect.addListener(ended => {
        const error = ended.error || api.runtime.lastError;
        onEnded((error && error.message) || 'the connection was closed');
      });
      return {
        post: message => port.postMessage(message),
        close: () => port.disconnect(),
      };
    },
  };

  const tabs = {
    get: tabId => api.tabs.get(tabId),
    activeTab: () => api.tabs.query({active: true, currentWindow: true}).then(found => found[0] || null),
    remove: tabId => api.tabs.remove(tabId),
    onRemoved: listener => api.tabs.onRemoved.addListener(tabId => listener(tabId)),
    onCreated: listener => api.tabs.onCreated.addListener(tab => listener(tab.id, tab.openerTabId ?? -1)),
  };

  const frames = {
    inject: (tabId, frameIds, files) =>
      api.scripting.executeScript({target: frameIds ? {tabId, frameIds} : {tabId, allFrames: true}, files}),
    // The frame id of the frame a frame element shows; -1 when it shows none.
    idOf(element) {
      try {
        return Promise.resolve(element && element.contentWindow ? api.runtime.getFrameId(element) : -1);
      } catch (error) {
        return Promise.resolve(-1);
      }
    },
  };

  const navigation = {
    onTopCommitted: listener => api.webNavigation.onCommitted.addListener(d => d.frameId === 0 && listener(d.tabId)),
    onTopCompleted: listener => api.webNavigation.onCompleted.addListener(d => d.frameId === 0 && listener(d.tabId, d.url)),
  };

  const badge = {
    set(tabId, text) {
      api.action.setBadgeBackgroundColor({tabId, color: '#2a7a2a'}).catch(() => {});
      return api.action.setBadgeText({tabId, text}).catch(() => {});
    },
  };

  const commands = {
    onCommand: listener => api.commands.onCommand.addListener((name, tab) => listener(name, tab ? tab.id : -1)),
  };

  const session = {
    get: key => api.storage.session.get(key).then(items => items[key]),
    set: (key, value) => api.storage.session.set({[key]: value}),
  };

  globalThis.vAPI = {
    scriptPath: 'platform/firefox/vapi.js',
    messaging, native, tabs, frames, navigation, badge, commands, session,
  };
})();
