// The popup: Quick Save enabled when the tab's layout is known, Start Selection turned to Finish while a selection runs.
'use strict';

(async () => {
  const tab = await vAPI.tabs.activeTab();
  if (!tab) return;
  const state = await vAPI.messaging.send('popup', 'state', {tabId: tab.id});
  document.getElementById('quick').disabled = !(state.layout > 0);
  if (state.selecting) document.getElementById('start').textContent = 'Finish Selection';
  for (const name of ['start', 'quick', 'auto', 'fine']) {
    document.getElementById(name).addEventListener('click', async () => {
      await vAPI.messaging.send('popup', 'command', {tabId: tab.id, name});
      window.close();
    });
  }
})();
