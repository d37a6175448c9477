#!/usr/bin/env python3
"""A stand-in native host for the extension's tests: the host's side of band/host/protocol.md, without the engine.

It does what grab host cannot be made to do on purpose: it sends a message of more than 1 MiB
(in pieces), and it logs every message it reads with the size it arrived in (log.jsonl in the
test's folder, PH_HOST_DIR), so that a test sees what the extension told it. What it "saves" goes
to out.html there. mode.json there gives its part: the hosts it knows, and whether Quick Save
writes the page's content back into the page and reads it once more ("echo").
"""
import json
import os
import struct
import sys
import traceback

MAX_MESSAGE = 1024 * 1024
FOLDER = os.environ["PH_HOST_DIR"]
EXTENSION_ORIGIN = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/"


def log(entry):
    with open(os.path.join(FOLDER, "log.jsonl"), "a") as out:
        out.write(json.dumps(entry) + "\n")


def read_raw():
    head = sys.stdin.buffer.read(4)
    if len(head) < 4:
        sys.exit(0)
    (length,) = struct.unpack("=I", head)
    message = json.loads(sys.stdin.buffer.read(length))
    log({"bytes": length, "type": message.get("type"), "part": message.get("part")})
    return message


def read():
    """The next whole message, joined from its pieces."""
    message = read_raw()
    if message.get("type") == "piece":
        data = [message["data"]]
        while len(data) < message["parts"]:
            part = read_raw()
            assert part["type"] == "piece" and part["piece"] == message["piece"] and part["part"] == len(data), part
            data.append(part["data"])
        message = json.loads("".join(data))
    log({"got": message})
    return message


def write_raw(message):
    body = json.dumps(message).encode()
    assert len(body) <= MAX_MESSAGE
    sys.stdout.buffer.write(struct.pack("=I", len(body)) + body)
    sys.stdout.buffer.flush()


def send(message, number=[0]):
    text = json.dumps(message)  # ASCII only: any cut is a safe one
    if len(text) <= MAX_MESSAGE:
        return write_raw(message)
    number[0] += 1
    size = MAX_MESSAGE // 2
    slices = [text[i:i + size] for i in range(0, len(text), size)]
    for part, data in enumerate(slices):
        write_raw({"type": "piece", "piece": number[0], "part": part, "parts": len(slices), "data": data})


def call(frame, op, *args, ids=[0]):
    ids[0] += 1
    send({"type": "call", "id": ids[0], "frame": frame, "op": op, "args": list(args)})
    while True:
        message = read()
        if message["type"] == "answer" and message["id"] == ids[0]:
            if "error" in message:
                raise RuntimeError(message["error"])
            return message["value"]


def save(markup):
    with open(os.path.join(FOLDER, "out.html"), "w") as out:
        out.write(markup)


def quick(mode):
    body = call(0, "body")
    save(call(0, "markup", body[0], True))
    if mode.get("echo"):
        markup = call(0, "markup", body[0], False)
        call(0, "setMarkup", body[0], False, markup + "<p id=echoed>again</p>")
        save(call(0, "markup", body[0], True))
    send({"type": "done", "outcome": "saved", "text": "saved to out.html", "layout": 7})


def main():
    if sys.argv[1:2] != [EXTENSION_ORIGIN]:
        sys.exit(1)
    mode = json.load(open(os.path.join(FOLDER, "mode.json")))
    command = read()["command"]
    if command == "hosts":
        send({"type": "hosts", "hosts": mode.get("hosts", [])})
    elif command == "state":
        send({"type": "state", "layout": 7 if "known" in call(0, "url") else 0})
    elif command == "quick":
        quick(mode)
    # Stays until the browser closes the connection, as a host does.
    while sys.stdin.buffer.read(65536):
        pass


try:
    main()
except Exception:
    # What went wrong goes where the test looks, not into the browser's log.
    with open(os.path.join(FOLDER, "errors.txt"), "a") as out:
        traceback.print_exc(file=out)
    raise
