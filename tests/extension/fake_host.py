#!/usr/bin/env python3
"""A stand-in native host for the extension's tests: sends what grab host never does, a message of more than 1 MiB.

Its Quick Save reads the page's body, writes it back into the page with a paragraph added (a call
of more than 1 MiB, in pieces), reads it once more and saves that to out.html in the test's folder
(PH_HOST_DIR). It logs the size and type of every message it reads to log.jsonl there.
"""
import json
import os
import struct
import sys

MAX_MESSAGE = 1024 * 1024
FOLDER = os.environ["PH_HOST_DIR"]


def read_raw():
    head = sys.stdin.buffer.read(4)
    if len(head) < 4:
        sys.exit(0)
    (length,) = struct.unpack("=I", head)
    message = json.loads(sys.stdin.buffer.read(length))
    with open(os.path.join(FOLDER, "log.jsonl"), "a") as log:
        log.write(json.dumps({"bytes": length, "type": message.get("type"), "part": message.get("part")}) + "\n")
    return message


def read():
    """The next whole message, joined from its pieces."""
    message = read_raw()
    if message.get("type") != "piece":
        return message
    data = [message["data"]]
    while len(data) < message["parts"]:
        part = read_raw()
        assert part["type"] == "piece" and part["piece"] == message["piece"] and part["part"] == len(data), part
        data.append(part["data"])
    return json.loads("".join(data))


def write_raw(message):
    body = json.dumps(message).encode()
    sys.stdout.buffer.write(struct.pack("=I", len(body)) + body)
    sys.stdout.buffer.flush()


def send(message):
    text = json.dumps(message)  # ASCII only: any cut is a safe one
    slices = [text[i:i + MAX_MESSAGE // 2] for i in range(0, len(text), MAX_MESSAGE // 2)]
    if len(slices) == 1:
        return write_raw(message)
    for part, data in enumerate(slices):
        write_raw({"type": "piece", "piece": 1, "part": part, "parts": len(slices), "data": data})


def call(op, *args, ids=[0]):
    ids[0] += 1
    send({"type": "call", "id": ids[0], "frame": 0, "op": op, "args": list(args)})
    while True:
        message = read()
        if message["type"] == "answer" and message["id"] == ids[0]:
            return message["value"]


command = read()["command"]
if command == "hosts":
    send({"type": "hosts", "hosts": []})
elif command == "quick":
    body = call("body")[0]
    call("setMarkup", body, False, call("markup", body, False) + "<p id=echoed>again</p>")
    with open(os.path.join(FOLDER, "out.html"), "w") as out:
        out.write(call("markup", body, True))
    send({"type": "done", "outcome": "saved", "text": "saved to out.html", "layout": 7})
# Stays until the browser closes the connection, as a host does.
while sys.stdin.buffer.read(65536):
    pass
