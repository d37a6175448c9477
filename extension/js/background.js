// The service worker: the commands on a tab (popup, shortcuts, automation) and the tab events they depend on.
//
// `globalThis.pageHarvest` is what the popup and the shortcuts call, and what automation calls over
// the DevTools protocol; each of its functions returns a promise of the host's `done` message.
'use strict';

// The user's command at work on each tab (one at a time), and every host command of each tab, the
// extension's own looks at a page's layout included, so that each hears when the page goes.
const userCommands = new Map();   // tab id -> run
const hostCommands = new Map();   // tab id -> Set of HostCommand
// How the last selection of each tab ended (a promise of its `done` message).
const lastSelections = new Map();

// Where a command of the host shows itself: quiet commands (the extension's own) put nothing into
// the page but what the host asks of it.
function pageFor(tabId, run) {
  return {
    call(frame, op, args) {
      // A new tab that this one opens while selecting with hyperlinks suppressed is closed at once.
      if (run && op === 'refuseNavigation') run.suppress = Boolean(args[0]);
      return pageFrames.call(tabId, frame, op, args);
    },
    ask: question => pageFrames.ask(tabId, question),
    answered(call) {
      if (run && call.op === 'showBar') run.started();
    },
    show(message) {
      if (run) pageFrames.show(tabId, message);
      else console.warn('PageHarvest host:', message.text);
    },
    stopped(text) {
      if (run) pageFrames.show(tabId, {type: 'message', text, caption: 'PageHarvest', icon: 'error'});
    },
  };
}

// Starts a command of the host on a tab (tabId -1: on no page) and returns its last message.
async function runHostCommand(tabId, command, fine, run) {
  let url = '';
  if (tabId >= 0) {
    url = (await vAPI.tabs.get(tabId)).url || '';
    await pageFrames.enter(tabId);
  }
  const host = new HostCommand({type: 'open', tab: tabId, url, command, fine}, pageFor(tabId, run));
  if (!hostCommands.has(tabId)) hostCommands.set(tabId, new Set());
  hostCommands.get(tabId).add(host);
  if (run) run.connected(host);
  try {
    return await host.result;
  } finally {
    hostCommands.get(tabId)?.delete(host);
  }
}

const knownLayouts = new KnownLayouts((tabId, command) => runHostCommand(tabId, command, false, null));

// One of the user's commands: `done` is the promise of its last message; `ready`, for a selection,
// resolves once selection mode is on (the host's first bar is shown), or with `done` if that comes first.
function userCommand(tabId, command, fine = false) {
  if (userCommands.has(tabId)) {
    const busy = Promise.reject(new Error('PageHarvest is already at work on this page.'));
    return {done: busy, ready: busy};
  }
  let started;
  const selecting = new Promise(resolve => { started = () => resolve({type: 'selecting', tab: tabId}); });
  const run = {
    command,
    host: null,
    suppress: false,
    finishing: false,
    started,
    connected(host) {
      run.host = host;
      if (run.finishing) host.send({type: 'finish'});
    },
    finish() {
      run.finishing = true;
      if (run.host) run.host.send({type: 'finish'});
    },
  };
  userCommands.set(tabId, run);
  run.done = runHostCommand(tabId, command, fine, run).then(done => {
    if (done.outcome === 'saved') knownLayouts.saved(tabId, done.layout || 0).catch(() => {});
    return done;
  });
  run.done.finally(() => userCommands.delete(tabId)).catch(() => {});
  run.ready = Promise.race([selecting, run.done]);
  if (command === 'start') lastSelections.set(tabId, run.done);
  return run;
}

function finishSelection(tabId) {
  const run = userCommands.get(tabId);
  if (run && run.command === 'start') {
    run.finish();
    return run.done;
  }
  // Ended already (a click that ends it, Esc, the bar): how it ended.
  return lastSelections.get(tabId) || Promise.reject(new Error('No selection was started on this tab.'));
}

globalThis.pageHarvest = {
  startSelection: tabId => userCommand(tabId, 'start').ready,
  fineSelection: tabId => userCommand(tabId, 'start', true).ready,
  finishSelection,
  quickSave: tabId => userCommand(tabId, 'quick').done,
  autoSelection: tabId => userCommand(tabId, 'auto').done,
};

// Commands that nobody waits for say why they failed in the console; the page has been told already.
function launch(promise) {
  promise.catch(error => console.warn('PageHarvest:', error.message));
}

const popupCommands = {
  start: tabId => (userCommands.get(tabId)?.command === 'start' ? finishSelection(tabId) : pageHarvest.startSelection(tabId)),
  quick: pageHarvest.quickSave,
  auto: pageHarvest.autoSelection,
  fine: pageHarvest.fineSelection,
};

vAPI.messaging.listen('popup', {
  state: async ({tabId}) => ({
    layout: await knownLayouts.layoutOf(tabId),
    selecting: userCommands.get(tabId)?.command === 'start',
  }),
  command({tabId, name}) {
    if (!popupCommands[name]) throw new Error(`unknown command: ${name}`);
    launch(popupCommands[name](tabId));
    return true;
  },
});

vAPI.messaging.listen('worker', {
  // The mouse and keys in a frame, for the selection at work on its tab.
  report({payload}, from) {
    const run = userCommands.get(from.tabId);
    if (run && run.host) run.host.send({type: 'report', frame: from.frameId, payload});
    return true;
  },
});

vAPI.commands.onCommand((name, tabId) => {
  if (tabId < 0) return;
  if (name === 'start-selection') launch(popupCommands.start(tabId));
  else if (name === 'quick-save') launch(pageHarvest.quickSave(tabId));
});

// The page a command works on is gone: the host keeps nothing of it, and says nothing more.
function pageGone(tabId) {
  for (const host of hostCommands.get(tabId) || []) {
    host.send({type: 'gone'});
    host.close({type: 'done', outcome: 'closed', layout: 0,
                text: 'The page was closed or left before the command ended; nothing was kept.'});
  }
}

vAPI.tabs.onRemoved(tabId => {
  pageGone(tabId);
  lastSelections.delete(tabId);
  knownLayouts.closed(tabId).catch(() => {});
});

vAPI.navigation.onTopCommitted(tabId => {
  pageGone(tabId);
  knownLayouts.navigated(tabId).catch(() => {});
});

vAPI.navigation.onTopCompleted((tabId, url) => {
  knownLayouts.loaded(tabId, url).catch(error => console.warn('PageHarvest: no layout state:', error.message));
});

vAPI.tabs.onCreated((tabId, openerTabId) => {
  if (userCommands.get(openerTabId)?.suppress) vAPI.tabs.remove(tabId).catch(() => {});
});
