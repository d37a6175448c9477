// One command of the native host on one tab: the connection, messages in pieces, answers by id, and how it ends.
//
// Each command gets a connection (one host process) of its own, closed when the command ends. The
// host asks the page through `call` and `ask`; the answers go back under the host's ids, in whatever
// order the page gives them. The command ends with the host's last message, or with the host's death,
// which the user is told about in the page.
'use strict';

const kHostName = 'org.pageharvest.host';
// The most JSON one native message may hold; larger messages travel in pieces, both ways.
const kMaxMessage = 1024 * 1024;
// Room in a piece for everything but its data.
const kPieceEnvelope = 256;

// The last message of each command (a `done` ends any command).
const kLastMessage = {hosts: 'hosts', state: 'state', start: 'done', quick: 'done', auto: 'done'};

// Bytes of UTF-8 that text[from, to) takes in JSON; quoted: as the contents of a JSON string, where
// quotes and backslashes are escaped. Text made by JSON.stringify holds no control character and no
// lone surrogate, so nothing else is escaped.
function jsonBytes(text, from, to, quoted) {
  let bytes = 0;
  for (let i = from; i < to; ++i) {
    const c = text.charCodeAt(i);
    if (c === 0x22 || c === 0x5c) bytes += quoted ? 2 : 1;
    else if (c < 0x80) bytes += 1;
    else if (c < 0x800) bytes += 2;
    else if (c >= 0xd800 && c < 0xdc00) bytes += 2;  // half of a pair: four bytes for both
    else if (c >= 0xdc00 && c < 0xe000) bytes += 2;
    else bytes += 3;
  }
  return bytes;
}

// The message as it goes on the wire: itself, or pieces of its JSON text of at most kMaxMessage bytes
// each, none cutting a surrogate pair.
function framed(message, number) {
  const text = JSON.stringify(message);
  if (text.length <= kMaxMessage / 3 || jsonBytes(text, 0, text.length, false) <= kMaxMessage) return [message];
  const budget = kMaxMessage - kPieceEnvelope;
  const slices = [];
  let from = 0, bytes = 0;
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    const pair = c >= 0xd800 && c < 0xdc00 && i + 1 < text.length;
    const cost = jsonBytes(text, i, pair ? i + 2 : i + 1, true);
    if (bytes + cost > budget) {
      slices.push(text.slice(from, i));
      from = i;
      bytes = 0;
    }
    bytes += cost;
    if (pair) ++i;
  }
  slices.push(text.slice(from));
  return slices.map((data, part) => ({type: 'piece', piece: number, part, parts: slices.length, data}));
}

class HostCommand {
  // open: the first message ({type: 'open', tab, url, command, fine}). page answers the host:
  //   call(frame, op, args) and ask(question): promises of the answer's value;
  //   answered(call): after the answer to a call went out;
  //   show(message): a message of the host; stopped(text): the host died.
  constructor(open, page) {
    this.page = page;
    this.last = kLastMessage[open.command];
    this.ended = false;
    this.nextPiece = 1;
    this.pieces = null;  // the parts received so far of a message in pieces
    this.result = new Promise((resolve, reject) => {
      this.resolve = resolve;
      this.reject = reject;
    });
    this.port = vAPI.native.connect(kHostName, raw => this.receive(raw), reason => this.died(reason));
    this.send(open);
  }

  send(message) {
    if (this.ended) return;
    const parts = framed(message, this.nextPiece);
    if (parts.length > 1) ++this.nextPiece;
    try {
      for (const part of parts) this.port.post(part);
    } catch (error) {
      // The port is gone; its disconnect tells the rest.
    }
  }

  // Ends the command from this side, as if the host had said its last word.
  close(result) {
    if (this.ended) return;
    this.ended = true;
    this.port.close();
    this.resolve(result);
  }

  receive(raw) {
    if (this.ended) return;
    const message = this.join(raw);
    if (!message) return;
    switch (message.type) {
      case 'call':
        this.answer(message, this.page.call(message.frame, message.op, message.args || []));
        break;
      case 'ask':
        this.answer(message, this.page.ask(message));
        break;
      case 'message':
        this.page.show(message);
        break;
      case 'error':
        console.warn('PageHarvest host could not read a message:', message.text);
        break;
      default:
        if (message.type === this.last || message.type === 'done') this.close(message);
    }
  }

  // The whole message from one that may be a piece of it; null while parts are missing or when
  // the pieces came wrong (the host is told).
  join(raw) {
    if (!raw || typeof raw !== 'object') return null;
    const pending = this.pieces;
    if (raw.type !== 'piece') {
      if (pending) this.refuse('a message came between the pieces of another');
      return raw;
    }
    const first = !pending && raw.part === 0 && Number.isInteger(raw.parts) && raw.parts > 0;
    const next = pending && raw.piece === pending.piece && raw.part === pending.data.length;
    if ((!first && !next) || typeof raw.data !== 'string') {
      this.refuse('pieces out of order');
      return null;
    }
    const whole = pending || (this.pieces = {piece: raw.piece, parts: raw.parts, data: []});
    whole.data.push(raw.data);
    if (whole.data.length < whole.parts) return null;
    this.pieces = null;
    let message = null;
    try {
      message = JSON.parse(whole.data.join(''));
    } catch (error) {
      // Answered below.
    }
    if (!message || typeof message !== 'object' || Array.isArray(message)) {
      this.refuse('the pieces do not make a JSON object');
      return null;
    }
    return message;
  }

  refuse(text) {
    this.pieces = null;
    this.send({type: 'error', text});
  }

  async answer(request, value) {
    let reply;
    try {
      reply = {type: 'answer', id: request.id, value: (await value) ?? null};
    } catch (error) {
      reply = {type: 'answer', id: request.id, error: String((error && error.message) || error)};
    }
    if (this.ended) return;
    this.send(reply);
    if (request.type === 'call') this.page.answered(request);
  }

  died(reason) {
    if (this.ended) return;
    this.ended = true;
    const text = `The PageHarvest host stopped: ${String(reason).replace(/\.+$/, '')}. Nothing was saved.`;
    this.page.stopped(text);
    this.reject(new Error(text));
  }
}
