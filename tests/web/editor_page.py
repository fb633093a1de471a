"""The editor's page in a browser engine (engines.py), driven as a user drives it, through the
page's DOM: the dialog TAVERO, its menubar's data-command buttons, the controls ctl-NNNN, message
boxes as <dialog role=alertdialog> with data-id buttons, #open-image and downloads."""

import atexit
import importlib.machinery
import os
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from engines import ENGINES

HERE = os.path.dirname(os.path.abspath(__file__))
serve_site = importlib.machinery.SourceFileLoader(
    "serve_site", os.path.join(HERE, "..", "..", "scripts", "serve-site")).load_module()

FILE_MENU = {32771, 57603, 32772}  # Load, Save, Exit live in the File popup
KEYS = {"Up": Keys.ARROW_UP, "Down": Keys.ARROW_DOWN, "Home": Keys.HOME, "End": Keys.END,
        "PageUp": Keys.PAGE_UP, "PageDown": Keys.PAGE_DOWN, "Enter": Keys.ENTER, "Escape": Keys.ESCAPE,
        "Tab": Keys.TAB, "Left": Keys.ARROW_LEFT, "Right": Keys.ARROW_RIGHT, "F10": Keys.F10}

# Counts the events the program takes and notes when it waits for the next one (set up once
# the editor is shown, when the program has begun to wait); the page
# itself is left as it is.
WATCH = """
if (!window.__watch) {
  window.__watch = { taken: 0, waiting: true };  // the editor shown, the program waits
  const page = window.TaveroPage || TaveroPage;
  const take = page.takeEvent, wait = page.waitForEvent;
  page.takeEvent = () => { __watch.taken++; __watch.waiting = false; return take(); };
  page.waitForEvent = () => { __watch.waiting = true; return wait(); };
}
"""


class EditorPage:
    def __init__(self, engine, site, workdir):
        self.site = site
        self.server = serve_site.serve(site)
        self.port = self.server.server_port
        self.url = f"http://127.0.0.1:{self.port}/index.html"
        self.workdir, self.pages = workdir, 0
        self.engine = ENGINES[engine](workdir, width=900, height=700)
        self.driver = self.engine.driver
        atexit.register(self.close)  # a run ended early leaves no browser behind

    def close(self):
        if self.engine:
            self.engine.close()
            self.engine = self.driver = None
        self.stop_server()

    def stop_server(self):
        if self.server:
            self.server.shutdown()
            self.server.server_close()
            self.server = None

    def restart_server(self):
        if not self.server:
            self.server = serve_site.serve(self.site, self.port)

    def serve(self, folder, handler_class=serve_site.SiteHandler):
        """Serves folder instead, at the same address (the browser's caches stay)."""
        self.stop_server()
        self.server = serve_site.serve(folder, self.port, handler_class)

    def forget_site(self):
        """The browser's caches, storage and service worker of the site emptied: the next page is
        a first visit."""
        self.engine.forget_sites([f"http://127.0.0.1:{self.port}"])
        self.driver = self.engine.driver  # WebKit's is a new browser

    # ---- the page

    def open(self, query="", phone=None, keep_storage=False):
        """A fresh page, the editor shown; downloads and logs of earlier pages forgotten, and the
        recoveries they kept unless keep_storage. phone: (width, height, device pixels per CSS
        pixel) of a phone's screen the page opens on."""
        # A folder of its own for each page: a download of the page before may land late.
        self.pages += 1
        self.downloads = os.path.join(self.workdir, f"downloads-{self.pages}")
        os.makedirs(self.downloads)
        self.engine.new_page(self.downloads, phone)
        self.driver.get(self.url + query)
        self.wait(lambda: self.driver.find_elements(By.ID, "ctl-1000"), "the editor to appear")
        self.engine.page_shown()
        if not keep_storage:  # no recovery of unsaved edits that an earlier page left behind
            self.driver.execute_script("localStorage.clear();")
        self.driver.execute_script(WATCH)
        self.settle()

    def wait(self, condition, what, seconds=10):
        end = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > end:
                raise AssertionError("waited in vain for " + what)
            time.sleep(0.02)

    def taken(self):
        return self.driver.execute_script("return window.__watch ? __watch.taken : 0")

    def ended(self):
        return self.driver.execute_script("return !document.getElementById('ended').hidden")

    def settle(self, before=None):
        """Waits until the program has taken an event since before (when given) and waits for
        the next, or has ended; then until the page has drawn its next frame."""
        def done():
            return self.driver.execute_script(
                "return window.__watch && __watch.waiting && (arguments[0] === null || __watch.taken > arguments[0])"
                " || !document.getElementById('ended').hidden", before)
        self.wait(done, "the program to take the event")
        self.driver.execute_async_script("requestAnimationFrame(() => arguments[0]())")

    def act(self, action, event=True):
        """Does action, then waits for the program to take its event (when event: an action
        that may post none, as a click into a field that has the focus, waits for no event)."""
        before = self.taken() if event else None
        action()
        self.settle(before)

    # ---- elements

    def element(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def control(self, number):
        return self.driver.find_element(By.ID, f"ctl-{number}")

    def value(self, number):
        return self.control(number).get_attribute("value")

    def focused_id(self):
        return self.driver.switch_to.active_element.get_attribute("id")

    def open_dialogs(self):
        return self.driver.find_elements(By.CSS_SELECTOR, "dialog[open]")

    def unsaved(self):
        return bool(self.driver.execute_script("return Module._tavero_has_unsaved_changes()"))

    # ---- what the user does

    def give_file(self, path, box=False):
        """box: the page first opens a box of its own (an archive's images to pick from, or why
        it is refused), and the program hears of nothing until it is answered."""
        if not box:
            self.act(lambda: self.driver.find_element(By.ID, "open-image").send_keys(path))
            return
        self.driver.find_element(By.ID, "open-image").send_keys(path)
        self.wait(self.open_dialogs, "the page's box")
        self.settle()

    def tap(self, element, event=True):
        """A finger's tap on the element's middle."""
        x, y = self.driver.execute_script(
            "const b = arguments[0].getBoundingClientRect(); return [b.left + b.width / 2, b.top + b.height / 2];", element)
        self.act(lambda: self.engine.touch((x, y)), event)

    def pick_with_mouse(self, number, index):
        self.act(lambda: self.control(number).click())
        option = self.element(f"#ctl-{number}-list [role=option][data-index='{index}']")
        self.act(option.click)

    def keys_to(self, number, *names):
        for name in names:
            self.act(lambda: self.control(number).send_keys(KEYS[name]))

    def keys(self, *keys, expect_event=True):
        for key in keys:
            if expect_event:
                self.act(lambda: ActionChains(self.driver).send_keys(KEYS.get(key, key)).perform())
            else:
                ActionChains(self.driver).send_keys(KEYS.get(key, key)).perform()
                self.settle()

    def alt(self, letter):
        ActionChains(self.driver).key_down(Keys.ALT).send_keys(letter).key_up(Keys.ALT).perform()

    def type_rate(self, number, text):
        """Clicks the field and types text; the keys replace the whole text unless text starts
        with Backspace (then they go where the click left the caret: the end)."""
        field = self.control(number)
        self.act(field.click, event=False)
        if not text.startswith(Keys.BACKSPACE):
            self.act(lambda: field.send_keys(Keys.CONTROL, "a"))
        for key in text:
            self.act(lambda: field.send_keys(key))

    def paste_rate(self, number, text):
        # The field's own edit: its whole text replaced, as a paste does.
        self.act(lambda: self.driver.execute_script(
            "arguments[0].focus(); arguments[0].select(); document.execCommand('insertText', false, arguments[1])",
            self.control(number), text))

    def command(self, command_id):
        def run():
            if command_id in FILE_MENU:
                self.element("#TAVERO [role=menubar] > button[aria-haspopup]").click()
            self.element(f"#TAVERO [data-command='{command_id}']").click()
        self.act(run)

    def answer(self, data_id, event=True):
        """event: the box is the program's, which takes the answer as an event (a box of the page's own does not)."""
        self.act(lambda: self.open_dialogs()[-1].find_element(By.CSS_SELECTOR, f"button[data-id='{data_id}']").click(),
                 event)

    def page_button(self, element_id):
        self.act(lambda: self.driver.find_element(By.ID, element_id).click())

    # ---- what the page shows

    def canvas_rgb(self, canvas):
        width, height, data = self.driver.execute_script(
            "const c = arguments[0], d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
            "return [c.width, c.height, Array.from(d)];", canvas)
        return [[tuple(data[(y * width + x) * 4:(y * width + x) * 4 + 3]) for x in range(width)]
                for y in range(height)]

    def download(self, name, seconds=10):
        path = os.path.join(self.downloads, name)

        # WebKit writes a download under its own name as it arrives, with no mark that it is
        # still coming: a download is complete when its size has stood still for a while.
        sizes = []

        def complete():
            if not os.path.exists(path) or self.engine.downloading(self.downloads):
                return None
            sizes.append((os.path.getsize(path), time.monotonic()))
            first = next(when for size, when in sizes if size == sizes[-1][0])
            return sizes[-1][0] > 0 and sizes[-1][1] - first >= 0.2
        self.wait(complete, "the download of " + name, seconds)
        with open(path, "rb") as file:
            return file.read()

    def downloaded(self):
        return sorted(os.listdir(self.downloads))

    def console_errors(self):
        return self.engine.console_errors()

