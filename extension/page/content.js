// The extension in one frame: the page helper's reports go to the service worker; the host's calls, questions and messages come back.
'use strict';

(() => {
  if (globalThis.pageHarvestFrame) return;
  globalThis.pageHarvestFrame = true;

  installPageHelper(payload => {
    vAPI.messaging.send('worker', 'report', {payload}).catch(() => {
      // The service worker is restarting or the extension is being reloaded: the event is lost, as
      // one the browser drops.
    });
  });
  const helper = globalThis.__grab;

  // The helper's operations, less the one that hands out the element itself, plus the frame id of the
  // frame a frame element shows (-1 when it shows none), which only the extension knows.
  const operations = Object.assign(Object.create(null), helper, {
    node: undefined,
    frameId: handle => vAPI.frames.idOf(helper.node(handle)),
  });

  vAPI.messaging.listen('page', {
    call({op, args}) {
      const operation = operations[op];
      if (typeof operation !== 'function') throw new Error(`unknown operation: ${op}`);
      return pagePanels.aside(() => operation(...(Array.isArray(args) ? args : [])));
    },
    ask: question => pagePanels.ask(question),
    message: message => pagePanels.show(message),
  });
})();
