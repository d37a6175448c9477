// The browser's extension API for both families of browsers (Chromium, Chrome and Edge; Firefox), in
// the shape every other file of the extension uses.
//
// This is the only file that knows which browser it runs in: the others call vAPI, never chrome.* or
// browser.*. Every call returns a promise. The families differ in three places, each marked here: how
// a message listener answers, where a native port's reason for ending is, and how a frame learns the
// frame id of a child frame. Loaded as a classic script in the background (Chromium's service worker,
// Firefox's page of scripts), the popup and every frame the extension works in, possibly more than once
// in the same world.
'use strict';

(() => {
  if (globalThis.vAPI) return;
  // Firefox: browser.*, and a frame's script can name a child frame's id itself.
  const firefox = typeof globalThis.browser === 'object' && globalThis.browser !== null &&
                  typeof globalThis.browser.runtime?.getFrameId === 'function';
  const api = firefox ? globalThis.browser : globalThis.chrome;

  // What the browser says when a frame has nobody listening (no content script in it yet).
  const noReceiver = error => /Receiving end does not exist|Could not establish connection/.test(String(error && error.message));

  // A handler's failure travels as text and is thrown again on the asking side, as an Error of its own
  // kind so that it is never taken for the browser's "nobody listening".
  class ReplyError extends Error {}
  const unwrap = reply => {
    if (reply && typeof reply === 'object' && 'error' in reply) throw new ReplyError(reply.error);
    return reply ? reply.value : undefined;
  };

  // Messages by channel: each side registers one table of handlers per channel; a handler returns the
  // answer or a promise of it. Messages for channels without a table are left to other listeners.
  const channels = new Map();
  let listening = false;
  const onMessage = (message, sender, sendResponse) => {
    const handlers = message && channels.get(message.channel);
    const handler = handlers && handlers[message.what];
    if (!handler) return firefox ? undefined : false;
    const from = {tabId: sender.tab ? sender.tab.id : -1, frameId: sender.frameId ?? -1, url: sender.url ?? ''};
    const reply = Promise.resolve()
      .then(() => handler(message.body ?? {}, from))
      .then(value => ({value}), error => ({error: String((error && error.message) || error)}));
    // Firefox takes the listener's promise as the answer; Chromium keeps the channel open for sendResponse.
    if (firefox) return reply;
    reply.then(sendResponse);
    return true;
  };

  const messaging = {
    // To the service worker (and any open extension page that listens on the channel).
    send: (channel, what, body) => api.runtime.sendMessage({channel, what, body}).then(unwrap),
    // To one frame of a tab.
    sendToFrame: (tabId, frameId, channel, what, body) =>
      api.tabs.sendMessage(tabId, {channel, what, body}, {frameId}).then(unwrap),
    listen(channel, handlers) {
      channels.set(channel, handlers);
      if (!listening) api.runtime.onMessage.addListener(onMessage);
      listening = true;
    },
    noReceiver,
  };

  // One connection to a native messaging host. onEnded gets the browser's reason when the host ends
  // it (the host exited, was not found, or wrote something that is not a message); closing it from
  // this side calls nothing.
  const native = {
    connect(name, onMessage, onEnded) {
      const port = api.runtime.connectNative(name);
      port.onMessage.addListener(onMessage);
      // Firefox gives the reason on the port itself, Chromium in runtime.lastError.
      port.onDisconnect.addListener(ended => {
        const error = (ended && ended.error) || api.runtime.lastError;
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
    // listener(tabId, openerTabId): openerTabId is -1 for a tab the user opened.
    onCreated: listener => api.tabs.onCreated.addListener(tab => listener(tab.id, tab.openerTabId ?? -1)),
  };

  // Chromium tells no frame's script the frame id of a child frame. So the parent posts a token to the
  // child's window; the child's script hands it to the service worker, whose message from the child
  // carries the child's frame id; the parent asks the service worker for the id that came with the token.
  const kProbe = 'pageHarvestFrameProbe';
  const kProbeWaitMs = 500;
  const probes = new Map();  // token -> the frame id that came with it, or the resolve of whoever waits
  const probeHandlers = {
    frameOf: ({token}) => new Promise(resolve => {
      const known = probes.get(token);
      probes.delete(token);
      if (typeof known === 'number') return resolve(known);
      probes.set(token, resolve);
      setTimeout(() => {
        if (probes.get(token) === resolve) probes.delete(token);
        resolve(-1);
      }, kProbeWaitMs);
    }),
    frameIs({token}, from) {
      const waiting = probes.get(token);
      if (typeof waiting === 'function') {
        probes.delete(token);
        waiting(from.frameId);
      } else {
        probes.set(token, from.frameId);
        setTimeout(() => probes.delete(token), kProbeWaitMs);
      }
      return true;
    },
  };
  const inServiceWorker = typeof ServiceWorkerGlobalScope === 'function' && globalThis instanceof ServiceWorkerGlobalScope;
  const inFrame = typeof document === 'object' && !api.tabs;
  if (inFrame && !firefox) {
    globalThis.addEventListener('message', event => {
      const token = event.data && event.data[kProbe];
      if (typeof token !== 'string' || event.source !== globalThis.parent || event.source === globalThis) return;
      api.runtime.sendMessage({channel: 'vapi', what: 'frameIs', body: {token}}).catch(() => {});
    });
  }

  // Scripts into frames of a tab: all of them (frameIds null) or those named.
  const frames = {
    inject: (tabId, frameIds, files) =>
      api.scripting.executeScript({target: frameIds ? {tabId, frameIds} : {tabId, allFrames: true}, files}),
    // The frame id of the frame a frame element shows (from the script of the element's frame); -1 when
    // it shows none, or none with our scripts in it.
    idOf(element) {
      const child = element && element.contentWindow;
      if (!child) return Promise.resolve(-1);
      if (firefox) {
        try {
          return Promise.resolve(api.runtime.getFrameId(element));
        } catch (error) {
          return Promise.resolve(-1);
        }
      }
      // Unguessable, so that the page cannot hand a frame's script a token of ours.
      const token = Array.from(crypto.getRandomValues(new Uint8Array(16)), b => b.toString(16).padStart(2, '0')).join('');
      const id = messaging.send('vapi', 'frameOf', {token});
      child.postMessage({[kProbe]: token}, '*');
      return id;
    },
  };

  // The tab's top document: a new one committed (listener(tabId)), and one finished loading
  // (listener(tabId, url)). Pages rendered ahead of time are not the tab's until they are shown.
  const topFrame = details => details.frameId === 0 && details.documentLifecycle !== 'prerender';
  const navigation = {
    onTopCommitted: listener => api.webNavigation.onCommitted.addListener(d => topFrame(d) && listener(d.tabId)),
    onTopCompleted: listener => api.webNavigation.onCompleted.addListener(d => topFrame(d) && listener(d.tabId, d.url)),
  };

  const badge = {
    set(tabId, text) {
      api.action.setBadgeBackgroundColor({tabId, color: '#2a7a2a'}).catch(() => {});
      return api.action.setBadgeText({tabId, text}).catch(() => {});
    },
  };

  // Keyboard shortcuts of the manifest's commands: listener(name, tabId).
  const commands = {
    onCommand: listener => api.commands.onCommand.addListener((name, tab) => listener(name, tab ? tab.id : -1)),
  };

  // Kept while the browser runs, across restarts of the service worker.
  const session = {
    get: key => api.storage.session.get(key).then(items => items[key]),
    set: (key, value) => api.storage.session.set({[key]: value}),
  };

  if (inServiceWorker) messaging.listen('vapi', probeHandlers);

  globalThis.vAPI = {
    // This file, for the lists of scripts put into frames.
    scriptPath: 'platform/vapi.js',
    messaging, native, tabs, frames, navigation, badge, commands, session,
  };
})();
