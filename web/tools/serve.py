"""Serves a published site on this machine as a web server in front of it should: the brotli or
gzip copy beside a file when the browser takes it, files whose names carry their content's hash
kept by the browser for good, and the page and its service worker asked for again every time, so
a new build shows at the next load.

    python3 serve.py PORT SITE_DIR   (PORT 0 picks a free one; the address is printed once bound)
"""

import hashlib
import http.server
import os
import re
import sys

TYPES = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".wasm": "application/wasm",
    ".ttf": "font/ttf",
    ".txt": "text/plain; charset=utf-8",
    ".svg": "image/svg+xml",
    ".png": "image/png",
    ".webmanifest": "application/manifest+json",
    ".gz": "application/gzip",
    ".br": "application/octet-stream",
}
# What publish.mjs names a file: its stem, ten hex digits of its SHA-256, its extension.
HASHED = re.compile(r"^[\w-]+\.[0-9a-f]{10}\.\w+$")
ENCODINGS = (("br", ".br"), ("gzip", ".gz"))


def accepted(header):
    """The content codings an Accept-Encoding header allows (q=0 refuses one)."""
    codings = set()
    for part in header.split(","):
        name, _, params = part.strip().partition(";")
        q = re.search(r"q\s*=\s*([0-9.]+)", params)
        if name and not (q and float(q.group(1)) == 0):
            codings.add(name.strip().lower())
    return codings


class SiteHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    site = "."

    def do_GET(self):
        self.respond(body=True)

    def do_HEAD(self):
        self.respond(body=False)

    def respond(self, body):
        name = self.path.split("?", 1)[0].split("#", 1)[0].lstrip("/") or "index.html"
        path = os.path.join(self.site, name)
        if "/" in name or name.startswith(".") or not os.path.isfile(path):
            self.send_error(404)
            return
        codings = accepted(self.headers.get("Accept-Encoding", ""))
        encoding = None
        for coding, suffix in ENCODINGS:
            if coding in codings and os.path.isfile(path + suffix):
                encoding, path = coding, path + suffix
                break
        with open(path, "rb") as file:
            data = file.read()
        tag = '"%s"' % hashlib.sha256(data).hexdigest()[:20]
        if tag in [t.strip() for t in self.headers.get("If-None-Match", "").split(",")]:
            self.send_response(304)
            self.send_headers(name, tag, encoding)
            self.end_headers()
            return
        self.send_response(200)
        self.send_header("Content-Type", TYPES.get(os.path.splitext(name)[1], "application/octet-stream"))
        self.send_header("Content-Length", str(len(data)))
        self.send_headers(name, tag, encoding)
        self.end_headers()
        if body:
            self.wfile.write(data)

    def send_headers(self, name, tag, encoding):
        if encoding:
            self.send_header("Content-Encoding", encoding)
        self.send_header("Vary", "Accept-Encoding")
        self.send_header("ETag", tag)
        if HASHED.match(name):
            self.send_header("Cache-Control", "public, max-age=31536000, immutable")
        else:
            self.send_header("Cache-Control", "no-cache")

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.log_date_time_string(), format % args))


def main():
    port, site = int(sys.argv[1]), sys.argv[2]
    SiteHandler.site = site
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), SiteHandler)
    except OSError as error:
        sys.exit(f"scripts/web: cannot serve on port {port}: {error.strerror}")
    print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
