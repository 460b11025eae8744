#!/usr/bin/env python3
"""The loopback download server of the tests and the demo.

Serves the product's cabinet at /special/qvd/Veridane.cab and, on request, misbehaves
the way real servers and proxies do. Also serves any file below --root (PAC scripts,
other cabinets) and counts the requests for every path.

Control (from the test, on the same port):
  GET /_control/mode?name=<mode>[&status=N][&file=PATH][&size=N][&delay=S]
  GET /_control/stats     -> JSON {path: hits}
  GET /_control/reset     -> normal mode, counters cleared
Modes of the cabinet path:
  normal   the cabinet (or &file=)
  short    200 bytes of text with status 200
  status   status N (default 404) with a large HTML page (20000 bytes)
  reset    announces the whole cabinet, sends half of it, then resets the connection
  slow     the cabinet in 16 KiB pieces, &delay seconds apart (default 0.2)
  size     exactly &size bytes: the cabinet followed by zero bytes
Listens on 127.0.0.1 only.
"""
import argparse
import json
import os
import socket
import struct
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import parse_qs, urlparse

CABINET_PATH = "/special/qvd/Veridane.cab"


class State:
    def __init__(self, cabinet, root):
        self.cabinet = Path(cabinet)
        self.root = Path(root) if root else None
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        with self.lock:
            self.mode = {"name": "normal"}
            self.hits = {}

    def count(self, path):
        with self.lock:
            self.hits[path] = self.hits.get(path, 0) + 1


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VeridaneTestServer/1.0"

    def log_message(self, fmt, *args):  # quiet
        pass

    @property
    def state(self):
        return self.server.state

    def send_body(self, status, body, content_type="application/octet-stream"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        url = urlparse(self.path)
        path = url.path
        if path.startswith("/_control/"):
            return self.control(path, parse_qs(url.query))
        self.state.count(path)
        if path == CABINET_PATH:
            return self.cabinet()
        if self.state.root:
            target = (self.state.root / path.lstrip("/")).resolve()
            if str(target).startswith(str(self.state.root.resolve())) and target.is_file():
                kind = "application/x-ns-proxy-autoconfig" if target.suffix == ".pac" else "application/octet-stream"
                return self.send_body(200, target.read_bytes(), kind)
        self.send_body(404, b"<html><body>Not found</body></html>", "text/html")

    def control(self, path, query):
        if path == "/_control/reset":
            self.state.reset()
        elif path == "/_control/mode":
            with self.state.lock:
                self.state.mode = {k: v[0] for k, v in query.items()}
        elif path != "/_control/stats":
            return self.send_body(404, b"unknown control")
        with self.state.lock:
            body = json.dumps(self.state.hits).encode()
        self.send_body(200, body, "application/json")

    def cabinet(self):
        with self.state.lock:
            mode = dict(self.state.mode)
        name = mode.get("name", "normal")
        source = Path(mode["file"]) if "file" in mode else self.state.cabinet
        if name == "short":
            return self.send_body(200, b"x" * 200, "text/plain")
        if name == "status":
            page = b"<html><body>" + b"error page " * 1900 + b"</body></html>"
            return self.send_body(int(mode.get("status", "404")), page, "text/html")
        data = source.read_bytes()
        if name == "size":
            size = int(mode["size"])
            data = (data + b"\0" * size)[:size]
        if name == "reset":
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(data[: len(data) // 2])
            self.wfile.flush()
            # Let the client take the headers first: a reset discards unread data.
            time.sleep(1)
            # An abortive close: the client sees a reset, not a clean end.
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            self.close_connection = True
            self.connection.close()
            return
        if name == "slow":
            delay = float(mode.get("delay", "0.2"))
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            for start in range(0, len(data), 16384):
                self.wfile.write(data[start:start + 16384])
                self.wfile.flush()
                time.sleep(delay)
            return
        self.send_body(200, data)


def exit_with_parent():
    """Ends the server when the process that started it is gone, so that a test run
    killed midway never leaves the port taken."""
    parent = os.getppid()

    def watch():
        while os.getppid() == parent:
            time.sleep(0.5)
        os._exit(0)

    threading.Thread(target=watch, daemon=True).start()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--cabinet", required=True)
    parser.add_argument("--root", default=None)
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.state = State(args.cabinet, args.root)
    exit_with_parent()
    print("ready", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
