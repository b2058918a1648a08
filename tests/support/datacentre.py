"""A loopback stand-in for the data centre: version endpoint, log endpoint and
package store, with fault modes.

In a test:
    with DataCentre(port) as dc:
        dc.version_reply = '{"version":"1.0.2","url":"http://127.0.0.1:%d/packages/"}' % dc.port
        dc.add_package("qelorvane_1.0.2.zip", data)
        dc.fault("/packages/", "drop")        # or 404, 500, "short", "stall", "delay",
                                              # "stall_body", "slow" (at dc.slow_rate bytes/s)
        ...
        dc.events()  -> ["downloader_start", ...] in arrival order

From the shell (the demo):
    python3 datacentre.py --port 9001 --reply '{...}' --packages DIR
prints one line per request.
"""
import argparse
import http.server
import os
import socketserver
import sys
import threading
import time
import urllib.parse

VERSION_PATH = "/datacenter/dcopenapi/getverisonBypid.htm"
LOG_PATH = "/datacenter/dcopenapi/web/insertloginlog.htm"
PACKAGE_PREFIX = "/packages/"


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


class DataCentre:
    def __init__(self, port=0, host="127.0.0.1", echo=False):
        self.version_reply = ""
        self.packages = {}          # name -> bytes
        self.package_dir = None     # or serve files from a folder
        self.faults = {}            # path prefix -> 404 | 500 | "drop" | "short" | "stall" | ... (above)
        self.stall_seconds = 30
        self.slow_rate = 256 * 1024  # bytes a second in the "slow" mode
        self.requests = []          # (path, query) in arrival order
        self.echo = echo
        self._lock = threading.Lock()
        dc = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                dc._handle(self)

        self._server = _Server((host, port), Handler)
        self.port = self._server.server_address[1]
        self._thread = None

    # --- control -------------------------------------------------------------
    def start(self):
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        self._server.shutdown()
        self._server.server_close()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

    def add_package(self, name, data):
        self.packages[name] = data

    def fault(self, prefix, mode):
        self.faults[prefix] = mode

    def clear_faults(self):
        self.faults.clear()

    # --- what was received ---------------------------------------------------
    def received(self):
        with self._lock:
            return list(self.requests)

    def log_requests(self):
        """Query dicts of the log endpoint's requests, in order."""
        out = []
        for path, query in self.received():
            if path == LOG_PATH:
                out.append(query)
        return out

    def events(self):
        """Event names reported to the log endpoint ("param=,NAME")."""
        names = []
        for q in self.log_requests():
            p = _raw_param(q, "param")
            names.append(p[1:] if p.startswith(",") else p)
        return names

    def wait_for_event(self, name, timeout=30):
        end = time.time() + timeout
        while time.time() < end:
            if name in self.events():
                return True
            time.sleep(0.05)
        return False

    # --- serving ---------------------------------------------------------------
    def _handle(self, h):
        url = urllib.parse.urlsplit(h.path)
        with self._lock:
            self.requests.append((url.path, url.query))
        if self.echo:
            print("%s %s" % (url.path, url.query), flush=True)
        mode = None
        for prefix, m in self.faults.items():
            if url.path.startswith(prefix):
                mode = m
        if mode in (404, 500):
            return self._send(h, mode, b"error")
        if mode == "stall":
            time.sleep(self.stall_seconds)
            return self._send(h, 200, b"")
        if mode == "delay":  # a slow but correct answer
            time.sleep(self.stall_seconds)
            mode = None
        if url.path == VERSION_PATH:
            body = self.version_reply.encode("utf-8") if isinstance(self.version_reply, str) else self.version_reply
            return self._send(h, 200, body, mode)
        if url.path == LOG_PATH:
            return self._send(h, 200, b"ok", mode)
        if url.path.startswith(PACKAGE_PREFIX):
            name = urllib.parse.unquote(url.path[len(PACKAGE_PREFIX):])
            data = self.packages.get(name)
            if data is None and self.package_dir:
                p = os.path.join(self.package_dir, os.path.basename(name))
                if os.path.isfile(p):
                    with open(p, "rb") as f:
                        data = f.read()
            if data is None:
                return self._send(h, 404, b"not found")
            return self._send(h, 200, data, mode)
        return self._send(h, 404, b"not found")

    def _send(self, h, status, body, mode=None):
        h.send_response(status)
        h.send_header("Content-Type", "application/octet-stream")
        h.send_header("Content-Length", str(len(body)))
        h.send_header("Cache-Control", "no-store")
        if mode in ("drop", "short", "stall_body"):
            h.send_header("Connection", "close")
        h.end_headers()
        try:
            if mode == "stall_body":  # half the body, then silence, then the connection ends
                h.wfile.write(body[: len(body) // 2])
                h.wfile.flush()
                time.sleep(self.stall_seconds)
                h.close_connection = True
                return
            if mode == "slow":  # the whole body, throttled, so a test can act mid-transfer
                piece = max(1, self.slow_rate // 20)
                for at in range(0, len(body), piece):
                    h.wfile.write(body[at:at + piece])
                    h.wfile.flush()
                    time.sleep(piece / self.slow_rate)
                return
            if mode == "drop":
                h.wfile.write(body[: len(body) // 2])
                h.wfile.flush()
                h.connection.shutdown(2)
                h.close_connection = True
                return
            if mode == "short":
                h.wfile.write(body[: max(0, len(body) - 7)])
                h.wfile.flush()
                h.close_connection = True
                return
            h.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass


def _raw_param(query, key):
    """A query value as sent (nothing is percent-encoded by the launcher)."""
    for part in query.split("&"):
        if part.startswith(key + "="):
            return urllib.parse.unquote(part[len(key) + 1:])
    return ""


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--port", type=int, default=9001)
    ap.add_argument("--reply", default="")
    ap.add_argument("--packages")
    args = ap.parse_args()
    dc = DataCentre(args.port, echo=True)
    dc.version_reply = args.reply
    dc.package_dir = args.packages
    print("data centre on 127.0.0.1:%d" % dc.port, flush=True)
    try:
        dc._server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
