// The page helper: what the selection engine asks of one frame's document, and the mouse and keys it reports.
//
// One copy runs in a world of its own in every frame of the page: put there by the extension as a
// content script, or by grab over the DevTools protocol. `installPageHelper(report)` makes
// `globalThis.__grab`, whose operations the engine calls by name; `report` takes what the user does.
//
// Elements are handed out as numbers that stay theirs for the life of the page ([number, tag name]
// pairs), so that one round trip answers a whole collection. The bar lives in a closed shadow root off
// the root element and is left out of every answer; its markup is taken out while the root's is read.
// It must run in any page, whatever its Content Security Policy: no eval, no inline handlers.
'use strict';

function installPageHelper(report) {
  if (globalThis.__grab) return true;

  const nodes = [null];
  const ids = new Map();
  const all = document.getElementsByTagName('*');
  const indexOf = Array.prototype.indexOf;
  let bar = null;
  let barParts = null;
  let listening = false;
  let refuse = false;
  let shift = null;  // the sheet that moves the page down below the bar

  const id = el => {
    let h = ids.get(el);
    if (h === undefined) {
      h = nodes.length;
      nodes.push(el);
      ids.set(el, h);
    }
    return h;
  };
  const pair = el => (el && el !== bar ? [id(el), el.tagName] : null);
  const list = items => {
    const out = [];
    if (items) for (const el of items) if (el !== bar) out.push([id(el), el.tagName]);
    return out;
  };
  const node = h => {
    const el = nodes[h];
    if (!el) throw new Error('unknown element');
    return el;
  };
  const withoutBar = (el, read) => {
    if (!bar || bar.parentNode !== el) return read();
    const next = bar.nextSibling;
    bar.remove();
    try {
      return read();
    } finally {
      el.insertBefore(bar, next);
    }
  };
  // The extension's own panels are not part of the page either: their hosts carry the expando grabOwn,
  // set in this world, where the page's scripts cannot set it.
  const onBar = e => e.composedPath().some(n => n === bar || n.grabOwn === true);

  // What the user does while the engine listens. The root element is the empty space around the
  // page's content, and the bar is not part of the page: the pointer there has left the page.
  const onOver = e => {
    if (!listening) return;
    const el = e.target instanceof Element ? e.target : null;
    if (onBar(e) || el === document.documentElement) {
      report({type: 'leave'});
      return;
    }
    report({type: 'hover', target: pair(el), button: e.button, shift: e.shiftKey, ctrl: e.ctrlKey, alt: e.altKey});
  };
  const onUp = e => {
    if (!listening || onBar(e)) return;
    const el = e.target instanceof Element ? e.target : null;
    report({type: 'click', target: pair(el), button: e.button, shift: e.shiftKey, ctrl: e.ctrlKey, alt: e.altKey});
  };
  // A click with keys held picks; it must not also start a text selection or a drag.
  const onDown = e => {
    if (listening && !onBar(e) && (e.shiftKey || e.ctrlKey || e.altKey || e.metaKey)) e.preventDefault();
  };
  // Links, form buttons and the page's own click handlers stay still while hyperlinks are suppressed.
  const onClick = e => {
    if (!listening || !refuse || onBar(e)) return;
    e.preventDefault();
    e.stopImmediatePropagation();
  };
  const onKey = e => {
    if (listening && e.key === 'Escape') {
      e.preventDefault();
      report({type: 'cancel'});
    }
  };
  const listeners = [
    [document, 'mouseover', onOver], [document, 'mouseup', onUp], [window, 'mousedown', onDown],
    [window, 'click', onClick], [window, 'auxclick', onClick], [window, 'keydown', onKey],
  ];

  const outline = () => {
    const tags = [], numbers = new Map(), items = [], entries = new Map();
    for (const el of all) {
      if (el === bar) continue;
      let tag = numbers.get(el.tagName);
      if (tag === undefined) {
        tag = tags.length;
        tags.push(el.tagName);
        numbers.set(el.tagName, tag);
      }
      const parent = entries.get(el.parentElement);
      entries.set(el, items.length);
      items.push([id(el), parent === undefined ? -1 : parent, tag]);
    }
    return {tags, items};
  };

  // What each element of the outline is called, in the outline's order: its id, class and role.
  const names = () => {
    const out = [];
    for (const el of all) {
      if (el === bar) continue;
      out.push(`${el.getAttribute('id') ?? ''} ${el.getAttribute('class') ?? ''} ${el.getAttribute('role') ?? ''}`);
    }
    return out;
  };

  const makeBar = (text, onFinish, onCancel) => {
    bar = document.createElement('grab-bar');
    const root = bar.attachShadow({mode: 'closed'});
    const style = document.createElement('style');
    style.textContent =
      ':host{all:initial;position:fixed;top:0;left:0;right:0;z-index:2147483647}' +
      'div{display:flex;gap:12px;align-items:center;padding:6px 10px;background:#223;color:#fff;' +
      'font:13px/1.4 sans-serif;box-shadow:0 2px 6px rgba(0,0,0,.4)}' +
      'p{flex:1;margin:0}small{display:block;color:#ccd}' +
      'button{font:inherit;padding:3px 12px;cursor:pointer}';
    const row = document.createElement('div');
    const words = document.createElement('p');
    const keys = document.createElement('span');
    const picks = document.createElement('small');
    keys.textContent = text;
    picks.textContent = 'Nothing picked yet.';
    words.append(keys, picks);
    const finish = document.createElement('button');
    finish.textContent = 'Finish';
    finish.addEventListener('click', onFinish);
    const cancel = document.createElement('button');
    cancel.textContent = 'Cancel';
    cancel.addEventListener('click', onCancel);
    row.append(words, finish, cancel);
    root.append(style, row);
    for (const type of ['click', 'mouseup', 'mousedown', 'mouseover', 'auxclick'])
      root.addEventListener(type, e => e.stopPropagation());
    barParts = {picks};
  };

  // The page moves down by the bar's height, so that the bar covers none of it. The sheet is not part
  // of the document: nothing the engine reads (markup, style elements) changes.
  const makeRoom = () => {
    if (!document.adoptedStyleSheets || typeof CSSStyleSheet !== 'function') return;
    if (!shift) {
      shift = new CSSStyleSheet();
      document.adoptedStyleSheets = [...document.adoptedStyleSheets, shift];
    }
    const height = Math.ceil(bar.getBoundingClientRect().height);
    shift.replaceSync(`html{padding-top:${height}px !important;scroll-padding-top:${height}px !important}`);
  };

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
    outline,
    names,
    index: h => {
      const el = node(h);
      if (el === bar || !el.isConnected || el.ownerDocument !== document) return -1;
      const i = indexOf.call(all, el);
      const b = bar && bar.isConnected ? indexOf.call(all, bar) : -1;
      return b >= 0 && i > b ? i - 1 : i;
    },
    contains: (a, b) => node(a).contains(node(b)),
    markup: (h, outer) => {
      const el = node(h);
      return withoutBar(el, () => (outer ? el.outerHTML : el.innerHTML));
    },
    // The text as the browser renders it: for the hosts that have no parser of their own.
    text: h => node(h).innerText,
    setMarkup: (h, outer, markup) => {
      const el = node(h);
      if (outer && !el.parentElement) return false;
      if (outer) el.outerHTML = markup;
      else el.innerHTML = markup;
      return true;
    },
    setText: (h, text) => {
      node(h).innerText = text;
      return true;
    },
    scroll: (h, top) => {
      node(h).scrollIntoView(top);
      return true;
    },
    attribute: (h, name) => node(h).getAttribute(name) ?? '',
    rel: h => node(h).rel ?? '',
    style: h => node(h).getAttribute('style'),
    setStyle: (h, text) => {
      const el = node(h);
      if (text) el.setAttribute('style', text);
      else el.removeAttribute('style');
      return true;
    },
    box: h => {
      const r = node(h).getBoundingClientRect();
      return [r.left, r.top, r.width, r.height];
    },
    listen: on => {
      if (on === listening) return true;
      listening = on;
      for (const [target, type, handler] of listeners) {
        if (on) target.addEventListener(type, handler, true);
        else target.removeEventListener(type, handler, true);
      }
      return true;
    },
    refuseNavigation: on => {
      refuse = on;
      return true;
    },
    showBar: text => {
      globalThis.__grab.hideBar();
      makeBar(text, () => report({type: 'finish'}), () => report({type: 'cancel'}));
      document.documentElement.appendChild(bar);
      makeRoom();
      return true;
    },
    // The second line of the bar: how many regions are picked, and which.
    showPicks: text => {
      if (barParts) barParts.picks.textContent = text;
      return true;
    },
    hideBar: () => {
      if (bar) bar.remove();
      bar = null;
      barParts = null;
      if (shift) shift.replaceSync('');
      return true;
    },
  };
  return true;
}
