"""The unpacked web zip as a host serves it, opened in headless Chromium:
    /usr/bin/python3 tests/dist/open_site.py SITE VERSION WORKDIR
The server sends the types every host knows and, beyond them, only the headers SITE's
HEADERS.txt lists: a file whose type neither gives goes out as application/octet-stream, so
a missing rule shows (the browser compiles .wasm only as application/wasm), and the page
runs under the Content-Security-Policy HEADERS.txt gives. The page must show the editor, the
version in its footer and the worker's cache named by it, with no warning or error in the
browser's log. Exit status 1 and a line saying what went wrong otherwise."""

import fnmatch
import functools
import http.server
import os
import posixpath
import sys
import tempfile
import threading
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

KNOWN_TYPES = {".html": "text/html", ".css": "text/css", ".txt": "text/plain", ".ico": "image/vnd.microsoft.icon",
               ".png": "image/png"}


def read_rules(site):
    """HEADERS.txt's rules: (file pattern, header, value), comments and empty lines left out."""
    rules = []
    with open(os.path.join(site, "HEADERS.txt")) as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                pattern, header = line.split(None, 1)
                name, value = header.split(":", 1)
                rules.append((pattern, name.strip(), value.strip()))
    return rules


class HostHandler(http.server.SimpleHTTPRequestHandler):
    rules = []

    def headers_for_request(self):
        name = posixpath.basename(urllib.parse.urlparse(self.path).path) or "index.html"
        return [(header, value) for pattern, header, value in self.rules if fnmatch.fnmatch(name, pattern)]

    def guess_type(self, path):
        for header, value in self.headers_for_request():
            if header.lower() == "content-type":
                return value
        return KNOWN_TYPES.get(posixpath.splitext(path)[1], "application/octet-stream")

    def end_headers(self):
        for header, value in self.headers_for_request():
            if header.lower() != "content-type":
                self.send_header(header, value)
        super().end_headers()

    def log_message(self, *args):
        pass


def check(site, version, workdir):
    HostHandler.rules = read_rules(site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(HostHandler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    options = Options()
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--user-data-dir=" + tempfile.mkdtemp(prefix="profile-", dir=workdir)]:
        options.add_argument(flag)
    options.binary_location = "/usr/bin/chromium"
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(f"http://127.0.0.1:{server.server_port}/")
        end = time.monotonic() + 20
        while not driver.find_elements(By.ID, "ctl-1000"):
            if time.monotonic() > end:
                return "the editor did not appear"
            time.sleep(0.05)
        footer = driver.find_element(By.ID, "version").text
        if footer != version:
            return f"the footer shows the version {footer!r}"
        driver.set_script_timeout(20)
        caches = driver.execute_async_script(
            "const done = arguments[0];"
            "navigator.serviceWorker.ready.then(() => caches.keys()).then(done, (e) => done(String(e)));")
        if not any(name.startswith(f"tavero-{version}-") for name in caches):
            return f"the worker's caches are {caches}, none named by the version"
        # A wrong type for the .wasm only warns (the program is then compiled the slow way).
        warned = [entry["message"] for entry in driver.get_log("browser") if entry["level"] in ("WARNING", "SEVERE")]
        if warned:
            return "the browser's log: " + " | ".join(warned)
    finally:
        driver.quit()
        server.shutdown()
    return None


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: open_site.py SITE VERSION WORKDIR")
    failure = check(*sys.argv[1:])
    if failure:
        print("open_site: " + failure, file=sys.stderr)
        return 1
    print("check-artifacts: the web site shows the editor under HEADERS.txt's headers, with the version")
    return 0


if __name__ == "__main__":
    sys.exit(main())
