"""A loopback HTTP server for grab's benchmarks, serving a folder, optionally answering each request late.

The delay stands for a distant server: the bytes are on their way only after it, so a client that
asks for one page at a time waits it out once per page.
"""
import http.server
import threading
import time


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    delay_s = 0.0

    def log_message(self, *args):
        pass

    def do_GET(self):
        if self.delay_s:
            time.sleep(self.delay_s)
        super().do_GET()


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 128  # several clients' connections at once must not be refused


def serve(folder, delay_ms=0):
    """Starts serving folder on 127.0.0.1 (a port of its own); returns the server and its base URL."""
    handler_class = type("DelayedHandler", (QuietHandler,), {"delay_s": delay_ms / 1000.0})
    handler = lambda *a, **k: handler_class(*a, directory=folder, **k)
    server = Server(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, "http://127.0.0.1:%d/" % server.server_address[1]
