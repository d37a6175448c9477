#!/usr/bin/env python3
"""A stand-in native host for the extension's tests: plays the host's side of band/host/protocol.md without the engine.

The browser starts it through a launcher in the test's folder (PH_HOST_DIR). It logs every
message it reads to log.jsonl there (with the size each arrived in), writes what it "saves" to
out.html, and takes its part from mode.json: the hosts it knows, and the faults to play.
"""
import json
import os
import struct
import sys
import traceback

MAX_MESSAGE = 1024 * 1024
FOLDER = os.environ["PH_HOST_DIR"]
MODE = json.load(open(os.path.join(FOLDER, "mode.json")))
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
    assert len(body) <= MAX_MESSAGE
    sys.stdout.buffer.write(struct.pack("=I", len(body)) + body)
    sys.stdout.buffer.flush()


pieces_sent = 0


def send(message):
    global pieces_sent
    text = json.dumps(message)  # ASCII only: any cut is a safe one
    if len(text) <= MAX_MESSAGE:
        write_raw(message)
        return
    pieces_sent += 1
    size = MAX_MESSAGE // 2
    slices = [text[i:i + size] for i in range(0, len(text), size)]
    for part, data in enumerate(slices):
        write_raw({"type": "piece", "piece": pieces_sent, "part": part, "parts": len(slices), "data": data})


reports = []
next_id = 0


def call(frame, op, *args):
    """A call to the page; reports that come meanwhile wait their turn."""
    global next_id
    next_id += 1
    send({"type": "call", "id": next_id, "frame": frame, "op": op, "args": list(args)})
    while True:
        message = read()
        log({"got": message} if message["type"] != "answer" else {"answer": op, "error": message.get("error")})
        if message["type"] == "answer" and message["id"] == next_id:
            if "error" in message:
                raise RuntimeError(message["error"])
            return message["value"]
        reports.append(message)


def next_report():
    if reports:
        return reports.pop(0)
    message = read()
    log({"got": message})
    return message


def done(outcome, text, layout=7):
    send({"type": "done", "outcome": outcome, "text": text, "layout": layout})


def save(markup):
    with open(os.path.join(FOLDER, "out.html"), "w") as out:
        out.write(markup)


def quick():
    body = call(0, "body")
    save(call(0, "markup", body[0], True))
    if MODE.get("echo"):
        # The same content back into the page, and read once more: pieces both ways.
        markup = call(0, "markup", body[0], False)
        call(0, "setMarkup", body[0], False, markup + "<p id=echoed>again</p>")
        save(call(0, "markup", body[0], True))
    done("saved", "saved to out.html")


def select():
    frames = [0]
    for element in call(0, "frames"):
        frame = call(0, "frameId", element[0])
        if frame >= 0:
            frames.append(frame)
    for frame in frames:
        call(frame, "listen", True)
        call(frame, "refuseNavigation", True)
    call(0, "showBar", "Ctrl+click picks the region")
    if MODE.get("die") == "selecting":
        os._exit(3)
    while True:
        report = next_report()
        kind = report.get("type")
        payload = report.get("payload", {})
        if kind == "gone":
            return done("closed", "the page went away", 0)
        if kind == "finish" or payload.get("type") == "finish":
            reply = ask(call(0, "title"))
            return done("saved" if reply else "cancelled", json.dumps(reply))
        if payload.get("type") == "cancel":
            return done("cancelled", "cancelled")
        if payload.get("type") == "click" and payload.get("ctrl"):
            save(call(report["frame"], "markup", payload["target"][0], True))
            for frame in frames:
                call(frame, "listen", False)
            call(0, "hideBar")
            return done("saved", "saved to out.html")


def ask(title):
    global next_id
    next_id += 1
    send({"type": "ask", "id": next_id, "title": title, "suggested": "/tmp/clips/" + title + ".htm",
          "kinds": ["text", "xml", "html", "clipboard", "database"], "kind": "html", "append": False})
    while True:
        message = read()
        log({"got": message})
        if message["type"] == "answer" and message["id"] == next_id:
            return message.get("value")


def main():
    if sys.argv[1:2] != [EXTENSION_ORIGIN]:
        sys.exit(1)
    with open(os.path.join(FOLDER, "host.pid"), "w") as out:
        out.write(str(os.getpid()))
    opened = read()
    log({"got": opened})
    command = opened["command"]
    if command == "hosts":
        send({"type": "hosts", "hosts": MODE.get("hosts", [])})
    elif command == "state":
        send({"type": "state", "layout": 7 if "known" in call(0, "url") else 0})
    elif command == "quick":
        quick()
    elif command == "start":
        select()
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
