"""The three browser engines the page is tested in, all from Debian: Chromium (chromedriver),
Firefox ESR (Marionette, marionette.py) and WebKitGTK (WebKitWebDriver and its MiniBrowser,
which needs an X display: a virtual one is started for it). Each gives a Selenium driver and
the few things WebDriver leaves to the browser: where downloads go, the console's errors, the
requests the page made. What an engine cannot do is in its `cannot`, with the reason.

    engine = ENGINES["firefox"](workdir, width=900, height=700)
    engine.driver ...; engine.close()
"""

import glob
import json
import os
import subprocess
import tempfile

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.webkitgtk import service as webkitgtk_service

import marionette

# Features a case may need that not every engine has.
FILE_CHOOSER = "file-chooser"      # the page's own file choice answered by the test
ACCESSIBILITY_TREE = "a11y-tree"   # what a screen reader is given beyond name and role
MOBILE = "mobile"                  # a phone's screen and touch events
ZOOMED_RECTS = "zoomed-rects"      # elements under CSS zoom measured (and clicked) where they show
FILE_HANDLES = "file-handles"      # a file the page may write in place (the File System Access API)


# The console's errors in the engines that have no log of them for WebDriver, from the moment
# this runs (the page's start is checked by its showing the editor at all): calls of
# console.error, and uncaught errors and rejections.
CATCH_ERRORS = """
if (!window.__errors) {
  window.__errors = { calls: [], uncaught: [] };
  const error = console.error.bind(console);
  console.error = (...args) => { __errors.calls.push(args.map(String).join(" ")); error(...args); };
  addEventListener("error", (e) => e.defaultPrevented ||  // handled by the page
                   __errors.uncaught.push(e.message || "error: " + (e.target && e.target.src)), true);
  addEventListener("unhandledrejection", (e) => e.defaultPrevented ||
                   __errors.uncaught.push("unhandled rejection: " + e.reason));
}
"""

# Every URL the page has fetched, as the page's own Resource Timing saw them.
RESOURCE_URLS = "return [location.href, ...performance.getEntriesByType('resource').map((e) => e.name)]"


class Chromium:
    name = "chromium"
    cannot = {}
    FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync"]

    def __init__(self, workdir, width, height, extra_flags=()):
        options = webdriver.ChromeOptions()
        profile = tempfile.mkdtemp(prefix="chromium-", dir=workdir)
        for flag in self.FLAGS + [f"--window-size={width},{height}", "--user-data-dir=" + profile, *extra_flags]:
            options.add_argument(flag)
        options.binary_location = "/usr/bin/chromium"
        options.add_experimental_option("prefs", {"download.prompt_for_download": False})
        options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
        self.driver = webdriver.Chrome(service=webdriver.chrome.service.Service("/usr/bin/chromedriver"),
                                       options=options)

    def cdp(self, command, params=None):
        return self.driver.execute_cdp_cmd(command, params or {})

    def new_page(self, downloads, phone=None):
        self.cdp("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
        self.driver.get_log("browser")
        self.driver.get_log("performance")
        if phone:  # (width, height, device pixels per CSS pixel): a phone's screen, touch and all
            width, height, scale = phone
            self.cdp("Emulation.setDeviceMetricsOverride", {"width": width, "height": height,
                                                            "deviceScaleFactor": scale, "mobile": True})
        else:
            self.cdp("Emulation.clearDeviceMetricsOverride")
        self.cdp("Emulation.setTouchEmulationEnabled", {"enabled": bool(phone), "maxTouchPoints": 5})

    def touch(self, *points):
        """A finger down at the first point (CSS pixels of the viewport), through the others, and up."""
        kinds = ["touchStart"] + ["touchMove"] * (len(points) - 1)
        for kind, (x, y) in zip(kinds, points):
            self.cdp("Input.dispatchTouchEvent", {"type": kind, "touchPoints": [{"x": x, "y": y}]})
        self.cdp("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def page_shown(self):
        pass

    @staticmethod
    def downloading(folder):
        return glob.glob(os.path.join(folder, "*.crdownload"))

    def forget_sites(self, origins):
        """As on a first visit: no cache, storage or service worker of origins."""
        for origin in origins:
            self.cdp("Storage.clearDataForOrigin", {"origin": origin, "storageTypes": "all"})
        self.cdp("Network.clearBrowserCache")

    def console_errors(self):
        try:
            return [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        except WebDriverException:
            return []

    def forget_console_errors(self):
        """The errors a case made on purpose are not the page's."""
        self.driver.get_log("browser")

    def requested_urls(self):
        """Every request the browser sent for the page, its service worker's included."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def intercept_file_chooser(self):
        # The chooser the page opens is answered through #open-image, as a user's choice.
        self.cdp("Page.setInterceptFileChooserDialog", {"enabled": True})

    def accessible_value(self, css):
        """The value a screen reader is given for the element (Chromium's accessibility tree)."""
        root = self.cdp("DOM.getDocument")["root"]["nodeId"]
        node = self.cdp("DOM.querySelector", {"nodeId": root, "selector": css})["nodeId"]
        tree = self.cdp("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})
        return tree["nodes"][0].get("value", {}).get("value")

    def close(self):
        self.driver.quit()


class Firefox:
    name = "firefox"
    cannot = {
        ACCESSIBILITY_TREE: "Firefox gives WebDriver an element's computed name and role only, not the value "
                            "a screen reader hears",
        MOBILE: "phones are emulated with Chromium's DevTools",
        FILE_HANDLES: "in-place Save is Chromium's only: Firefox has no File System Access API",
    }
    PREFS = {
        "browser.download.folderList": 2, "browser.download.useDownloadDir": True,
        "browser.download.always_ask_before_handling_new_types": False, "browser.download.alwaysOpenPanel": False,
        "browser.download.start_downloads_in_tmp_dir": False,
        "browser.shell.checkDefaultBrowser": False, "app.update.disabledForTesting": True,
        "browser.safebrowsing.update.enabled": False, "services.settings.server": "data:,",
        "network.connectivity-service.enabled": False, "network.captive-portal-service.enabled": False,
        "extensions.getAddons.cache.enabled": False, "browser.region.network.url": "",
        "privacy.reduceTimerPrecision": False,  # the page's clock to the microsecond, as the others' (bench)
    }

    def __init__(self, workdir, width, height):
        profile = tempfile.mkdtemp(prefix="firefox-", dir=workdir)
        _, environment = own_home(workdir, "firefox")
        self.driver = marionette.Firefox(profile, dict(self.PREFS, **{"browser.download.dir": profile}), width,
                                         height, environment, system_access=True)

    def new_page(self, downloads, phone=None):
        self.driver.chrome_script("""
            Services.prefs.setStringPref("browser.download.dir", arguments[0]);
            Services.console.reset();""", downloads)

    def page_shown(self):
        self.driver.execute_script(CATCH_ERRORS)

    @staticmethod
    def downloading(folder):
        return glob.glob(os.path.join(folder, "*.part"))

    def forget_sites(self, origins):
        self.driver.chrome_script("""
            return new Promise((done) => Services.clearData.deleteData(Ci.nsIClearDataService.CLEAR_ALL, done));""")

    def console_errors(self):
        """The page's uncaught errors and refused loads since it was opened (the browser's
        console), and its console.error calls since it showed the editor."""
        return self.driver.chrome_script("""
            const errors = [];
            for (const message of Services.console.getMessageArray() || []) {
              let error;
              try { error = message.QueryInterface(Ci.nsIScriptError); } catch { continue; }
              if (error.flags & (Ci.nsIScriptError.warningFlag | Ci.nsIScriptError.infoFlag)) continue;
              if (error.isFromChromeContext || !/^https?:/.test(error.sourceName)) continue;  // the browser's own
              errors.push(error.errorMessage + " (" + error.sourceName + ":" + error.lineNumber + ")");
            }
            return errors;""") + self.driver.execute_script("return window.__errors ? __errors.calls : []")

    def forget_console_errors(self):
        # Firefox logs a rejection the page handled (preventDefault) as uncaught all the same.
        self.driver.chrome_script("Services.console.reset();")
        self.driver.execute_script("if (window.__errors) __errors.calls = []")

    def requested_urls(self):
        return self.driver.execute_script(RESOURCE_URLS)

    def intercept_file_chooser(self):
        pass

    def close(self):
        self.driver.quit()


def own_home(workdir, name):
    """The environment of a browser whose HOME, caches and settings live in workdir: nothing
    written into the user's home."""
    home = os.path.join(workdir, name + "-home")
    os.makedirs(os.path.join(home, "config"), exist_ok=True)
    return home, dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
                      XDG_CACHE_HOME=os.path.join(home, "cache"), XDG_DATA_HOME=os.path.join(home, "data"))


class WebKit:
    name = "webkit"
    cannot = {
        ACCESSIBILITY_TREE: "WebKitGTK gives WebDriver an element's computed name and role only, not the value "
                            "a screen reader hears",
        MOBILE: "phones are emulated with Chromium's DevTools",
        ZOOMED_RECTS: "WebKit gives the rects of elements under CSS zoom unzoomed, and its WebDriver clicks "
                      "them there",
        FILE_HANDLES: "in-place Save is Chromium's only: WebKit has no File System Access API's open picker",
    }
    BROWSER = (glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser") or ["MiniBrowser"])[0]  # webkit2gtk-driver's

    def __init__(self, workdir, width, height):
        self.size = (width, height)
        self.display = VirtualDisplay(workdir, width + 200, height + 200)
        # The browser saves into the user's download folder, named once at its start: a link
        # there, turned to each page's own folder.
        home, environment = own_home(workdir, "webkit")
        self.downloads_link = os.path.join(home, "downloads")
        with open(os.path.join(home, "config", "user-dirs.dirs"), "w") as file:
            file.write(f'XDG_DOWNLOAD_DIR="{self.downloads_link}"\n')
        self.service = webkitgtk_service.Service("/usr/bin/WebKitWebDriver", env=environment,
                                                 log_path=os.path.join(workdir, "webkit-driver.log"))
        try:
            self.service.start()
            self.start_browser()
        except Exception:
            self.service.stop()
            self.display.stop()
            raise

    def start_browser(self):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = self.BROWSER
        options.add_argument("--automation")
        for old in ("version", "platform"):  # Selenium's defaults from before W3C, which it warns of
            options._caps.pop(old, None)
        self.driver = webdriver.Remote(command_executor=self.service.service_url, options=options)
        self.driver._is_remote = False  # a file given to an <input> is a path on this machine
        self.driver.set_window_rect(0, 0, *self.size)

    def new_page(self, downloads, phone=None):
        if os.path.lexists(self.downloads_link):
            os.remove(self.downloads_link)
        os.symlink(downloads, self.downloads_link)
        # A window of its own for each page: each download adds a bar to the browser's window
        # that takes the page's height.
        old = self.driver.current_window_handle
        self.driver.switch_to.new_window("window")
        new = self.driver.current_window_handle
        self.driver.switch_to.window(old)
        self.driver.close()
        self.driver.switch_to.window(new)
        self.driver.set_window_rect(0, 0, *self.size)

    def page_shown(self):
        self.driver.execute_script(CATCH_ERRORS)

    @staticmethod
    def downloading(folder):
        return []

    def forget_sites(self, origins):
        # A browser of its own for each session keeps its sites' data in memory only.
        self.driver.quit()
        self.start_browser()

    def console_errors(self):
        return self.driver.execute_script("return window.__errors ? __errors.calls.concat(__errors.uncaught) : []")

    def forget_console_errors(self):
        self.driver.execute_script("if (window.__errors) __errors.calls = __errors.uncaught = []")

    def requested_urls(self):
        return self.driver.execute_script(RESOURCE_URLS)

    def intercept_file_chooser(self):
        pass

    def close(self):
        try:
            self.driver.quit()
        finally:
            self.service.stop()
            self.display.stop()


class VirtualDisplay:
    """An Xvfb of our own on a display it picks itself (no window manager, as everywhere here)."""

    def __init__(self, workdir, width, height):
        read, write = os.pipe()
        self.log = open(os.path.join(workdir, "xvfb.log"), "wb")
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
                                         "-nolisten", "tcp"], pass_fds=[write], stdout=self.log,
                                        stderr=subprocess.STDOUT)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError(f"Xvfb gave no display (its log: {self.log.name})")
        self.previous = os.environ.get("DISPLAY")
        os.environ["DISPLAY"] = ":" + number  # for WebKitWebDriver and the browser it starts

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
        self.log.close()


ENGINES = {engine.name: engine for engine in (Chromium, Firefox, WebKit)}
