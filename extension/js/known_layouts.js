// Which tabs show a page whose layout is known: the hosts that have stored layouts, and the state of pages on them.
//
// Ordinary browsing costs nothing and tells the host nothing: the host's list of hosts is asked for
// once (again after each command that saved), and only a page on one of those hosts, once its top
// document has loaded, is shown to the host to ask whether its layout is known. The answer enables
// Quick Save in the popup and puts a badge on the toolbar button for that tab.
'use strict';

class KnownLayouts {
  // ask(tabId, command): the host's last message for a command of the extension's own (-1: no tab).
  constructor(ask) {
    this.ask = ask;
    this.hosts = null;                // promise of the Set of host names
    this.layouts = new Map();         // tab id -> layout id, for tabs whose layout is known
    this.pages = new Map();           // tab id -> how many top documents it has had, to drop late answers
    this.restored = vAPI.session.get('layouts').then(saved => {
      for (const [tab, layout] of Object.entries(saved || {})) this.layouts.set(Number(tab), layout);
    });
  }

  async layoutOf(tabId) {
    await this.restored;
    return this.layouts.get(tabId) || 0;
  }

  // A new top document in the tab: nothing is known of it yet.
  navigated(tabId) {
    this.pages.set(tabId, (this.pages.get(tabId) || 0) + 1);
    return this.record(tabId, 0);
  }

  closed(tabId) {
    this.pages.delete(tabId);
    return this.record(tabId, 0, false);
  }

  // The top document finished loading.
  async loaded(tabId, url) {
    const page = this.pages.get(tabId) || 0;
    let address;
    try {
      address = new URL(url);
    } catch (error) {
      return;
    }
    // The browser's own pages and blank ones have no layout to know.
    if (!['http:', 'https:', 'file:'].includes(address.protocol)) return;
    if (!(await this.hostNames()).has(address.hostname)) return;
    const answer = await this.ask(tabId, 'state');
    if ((this.pages.get(tabId) || 0) === page) await this.record(tabId, answer.type === 'state' ? answer.layout || 0 : 0);
  }

  // A command on the tab saved: its layout is known now, and the list of hosts may have grown.
  async saved(tabId, layout) {
    this.hosts = null;
    await vAPI.session.set('hosts', null);
    await this.record(tabId, layout);
    await this.hostNames();
  }

  hostNames() {
    if (!this.hosts) {
      this.hosts = this.fetchHosts();
      // A host that could not be asked is asked again next time.
      this.hosts.catch(() => { this.hosts = null; });
    }
    return this.hosts;
  }

  async fetchHosts() {
    let list = await vAPI.session.get('hosts');
    if (!Array.isArray(list)) {
      const answer = await this.ask(-1, 'hosts');
      list = Array.isArray(answer.hosts) ? answer.hosts : [];
      await vAPI.session.set('hosts', list);
    }
    return new Set(list);
  }

  async record(tabId, layout, badge = true) {
    await this.restored;
    if (layout > 0) this.layouts.set(tabId, layout);
    else this.layouts.delete(tabId);
    if (badge) vAPI.badge.set(tabId, layout > 0 ? '\u2713' : '');
    await vAPI.session.set('layouts', Object.fromEntries(this.layouts));
  }
}
