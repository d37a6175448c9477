// The frames of a tab as the host reaches them: the page scripts put in on demand, calls by frame id, the save panel and messages.
'use strict';

// What the extension puts into a frame, in order: the page helper, then the extension's glue around it.
const kPageScripts = [vAPI.scriptPath, 'page/page_helper.js', 'page/panels.js', 'page/content.js'];

const pageFrames = {
  // Into every frame of the tab that lets us in; a top document that does not (the browser's own
  // pages, the extension gallery) fails the command.
  async enter(tabId) {
    try {
      await vAPI.frames.inject(tabId, null, kPageScripts);
    } catch (error) {
      throw new Error(`PageHarvest cannot work on this page: ${error.message}`);
    }
  },

  // Calls a page helper operation in one frame. A frame without our scripts (made after the command
  // began, or reloaded inside the page) gets them, and the call is made once more; a frame that is
  // gone fails the call. A frame element whose frame did not answer to its id may show such a frame:
  // every frame gets our scripts, and it is asked once more.
  async call(tabId, frameId, op, args) {
    const body = {op, args};
    let value;
    try {
      value = await vAPI.messaging.sendToFrame(tabId, frameId, 'page', 'call', body);
    } catch (error) {
      if (!vAPI.messaging.noReceiver(error)) throw error;
      await vAPI.frames.inject(tabId, [frameId], kPageScripts);
      return vAPI.messaging.sendToFrame(tabId, frameId, 'page', 'call', body);
    }
    if (op !== 'frameId' || value !== -1) return value;
    await pageFrames.enter(tabId);
    return vAPI.messaging.sendToFrame(tabId, frameId, 'page', 'call', body);
  },

  // The save panel in the tab's top document: {kind, file, append}, or null for Cancel.
  ask: (tabId, question) => vAPI.messaging.sendToFrame(tabId, 0, 'page', 'ask', question),

  // A message of the host, or of the extension about the host, in the top document; where no page
  // can show it (the tab closed, a page of the browser's own), it goes to the console.
  show(tabId, message) {
    vAPI.messaging.sendToFrame(tabId, 0, 'page', 'message', message)
      .catch(() => console.warn(`PageHarvest: ${message.caption || ''}: ${message.text}`));
  },
};
