// The extension's panels in a page: the save panel and the host's messages, in a closed shadow root that no read of the page sees.
//
// The panels sit in the bottom right corner, over as little of the page as they can and only while
// they are needed: the save panel until it is answered, a message until it is read (or a while has
// passed). Their host element is taken out of the document while the engine reads it, and carries
// the mark by which the page helper takes the pointer on it for the pointer off the page.
'use strict';

(() => {
  if (globalThis.pagePanels) return;

  const kStyle = `
    :host { all: initial; position: fixed; right: 12px; bottom: 12px; z-index: 2147483647;
            width: min(420px, calc(100vw - 24px)); }
    .stack { display: flex; flex-direction: column; gap: 8px; font: 13px/1.4 sans-serif; color: #111; }
    .box { background: #fff; border: 1px solid #889; border-radius: 4px; padding: 10px 12px;
           box-shadow: 0 2px 10px rgba(0, 0, 0, .35); }
    h1 { font: bold 13px/1.4 sans-serif; margin: 0 0 6px; }
    .error h1 { color: #a00; }
    .warning h1 { color: #8a5a00; }
    p { margin: 0; white-space: pre-wrap; overflow-wrap: anywhere; }
    label { display: block; margin: 6px 0 0; }
    input[type=text], select { font: inherit; }
    input[type=text] { display: block; width: 100%; box-sizing: border-box; margin-top: 2px; }
    .buttons { display: flex; justify-content: flex-end; gap: 8px; margin-top: 10px; }
    button { font: inherit; padding: 3px 12px; }`;
  // How long a message stays when nobody closes it.
  const kMessageMs = {information: 8000, question: 8000, warning: 20000, error: 20000};
  const kKinds = {text: 'Text file', xml: 'XML file', html: 'HTML file', clipboard: 'Clipboard', database: 'Database'};
  const kExtensions = {text: '.txt', xml: '.xml', html: '.htm'};

  let host = null;
  let stack = null;

  const make = (tag, properties = {}, ...children) => {
    const element = Object.assign(document.createElement(tag), properties);
    element.append(...children);
    return element;
  };

  const open = kind => {
    if (!host || !host.isConnected) {
      host = document.createElement('pageharvest-panels');
      // The page helper's mark for what is not the page (an expando of this world: the page cannot set it).
      host.grabOwn = true;
      const root = host.attachShadow({mode: 'closed'});
      // A constructed sheet, which no style-src of the page's policy refuses.
      const sheet = new CSSStyleSheet();
      sheet.replaceSync(kStyle);
      root.adoptedStyleSheets = [sheet];
      stack = make('div', {className: 'stack'});
      root.append(stack);
      document.documentElement.append(host);
    }
    return stack.appendChild(make('div', {className: `box ${kind}`}));
  };

  const close = box => {
    box.remove();
    if (host && !stack.childElementCount) {
      host.remove();
      host = null;
    }
  };

  const buttons = (...labels) => {
    const row = make('div', {className: 'buttons'});
    const made = labels.map(label => row.appendChild(make('button', {textContent: label})));
    return [row, ...made];
  };

  // The file name for a kind: the host suggests one without an extension, and the extension follows
  // the kind chosen.
  const withExtension = (file, kind) => {
    const current = Object.values(kExtensions).find(e => file.toLowerCase().endsWith(e));
    const base = current ? file.slice(0, -current.length) : file;
    return kExtensions[kind] ? base + kExtensions[kind] : file;
  };

  globalThis.pagePanels = {
    // Runs a read of the page with the panels out of the document.
    aside(read) {
      if (!host || !host.isConnected) return read();
      const parent = host.parentNode;
      const next = host.nextSibling;
      host.remove();
      try {
        return read();
      } finally {
        parent.insertBefore(host, next);
      }
    },

    show({text, caption, icon}) {
      const kind = kMessageMs[icon] ? icon : 'information';
      const box = open(kind);
      const [row, ok] = buttons('OK');
      box.append(make('h1', {textContent: caption || 'PageHarvest'}), make('p', {textContent: text}), row);
      const timer = setTimeout(() => close(box), kMessageMs[kind]);
      ok.addEventListener('click', () => {
        clearTimeout(timer);
        close(box);
      });
      return true;
    },

    // The stand-in of the save dialog: {kind, file, append}, or null for Cancel.
    ask({title, suggested, kinds, kind, append}) {
      return new Promise(resolve => {
        const box = open('question');
        const offered = Array.isArray(kinds) && kinds.length ? kinds : Object.keys(kKinds);
        const choice = make('select', {}, ...offered.map(k => make('option', {value: k, textContent: kKinds[k] || k})));
        choice.value = offered.includes(kind) ? kind : offered[0];
        const file = make('input', {type: 'text', value: withExtension(suggested || '', choice.value)});
        const appending = make('input', {type: 'checkbox', checked: Boolean(append)});
        const fit = () => {
          const toFile = choice.value in kExtensions;
          file.disabled = !toFile;
          appending.disabled = !toFile;
        };
        choice.addEventListener('change', () => {
          file.value = withExtension(file.value, choice.value);
          fit();
        });
        fit();
        const [row, save, cancel] = buttons('Save', 'Cancel');
        box.append(make('h1', {textContent: `Save \u201c${title || ''}\u201d`}),
                   make('label', {}, 'Save as ', choice),
                   make('label', {}, 'File', file),
                   make('label', {}, appending, ' Append to the file if it exists'),
                   row);
        const answer = value => {
          close(box);
          resolve(value);
        };
        save.addEventListener('click', () =>
          answer({kind: choice.value, file: file.disabled ? '' : file.value, append: appending.checked}));
        cancel.addEventListener('click', () => answer(null));
        // Keys typed into the panel are the panel's, not the page's.
        box.addEventListener('keydown', event => {
          event.stopPropagation();
          if (event.key === 'Enter') save.click();
          else if (event.key === 'Escape') cancel.click();
        });
        // The suggested name is selected, as in a save dialog: typing replaces it.
        if (file.disabled) choice.focus();
        else file.select();
      });
    },
  };
})();
