"""The editor's web page in Chromium, Firefox and WebKit, driven as a user drives it: one table
of cases, each naming the fault it catches, run in each engine. Expected bytes come from
tavero-cli on the same image.

    /usr/bin/python3 tests/web/web_tests.py SITE NATIVE_BUILD   (tests/web/run-web-tests does this)
TAVERO_WEB_ENGINES=chromium,firefox,webkit (the default: all three) picks the engines,
TAVERO_WEB_CASE=TEXT the cases whose name holds TEXT.
"""

import base64
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest
import urllib.request
import zipfile
from collections import namedtuple

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

import engines
import image_bytes as ib
from editor_page import EditorPage, serve_site

LOAD, SAVE, EXIT, SHIFT = 32771, 57603, 32772, 32773
SITE = NATIVE = None  # from the command line
SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# needs: features of engines.py the case cannot run without; an engine that lacks one skips
# the case, saying why.
Case = namedtuple("Case", "name fault image steps needs", defaults=[()])


class Images:
    """Sample images made for the run, and what tavero-cli makes of them."""

    def __init__(self, folder):
        self.folder = folder
        tool = os.path.join(NATIVE, "tools", "make-sample-image")
        self.paths = {}
        for name, options in {"six.smc": ["--six-slot"], "five.smc": [], "hdr.smc": ["--six-slot", "--header"]}.items():
            self.paths[name] = os.path.join(folder, name)
            subprocess.run([tool, *options, self.paths[name]], check=True, capture_output=True)
        self.paths["short.smc"] = os.path.join(folder, "short.smc")
        with open(self.paths["six.smc"], "rb") as six, open(self.paths["short.smc"], "wb") as short:
            short.write(six.read(100000))
        # Two files of one name in two folders, each another image.
        for name, source in (("one/s.smc", "six.smc"), ("two/s.smc", "five.smc")):
            self.paths[name] = os.path.join(folder, name)
            os.makedirs(os.path.dirname(self.paths[name]))
            shutil.copy(self.paths[source], self.paths[name])
        # One byte more than the page takes; sparse, and never read.
        self.paths["big.smc"] = os.path.join(folder, "big.smc")
        with open(self.paths["big.smc"], "wb") as big:
            big.truncate(64 * 1024 * 1024 + 1)
        # An image inside a longer file (the editor writes its first 8 MiB).
        self.paths["nine.smc"] = os.path.join(folder, "nine.smc")
        subprocess.run([tool, "--six-slot", "--size", str(9 * 1024 * 1024), self.paths["nine.smc"]], check=True,
                       capture_output=True)
        D, S = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED
        for name, entries in {"one.zip": [("readme.txt", b"notes", D), ("roms/Game.smc", "six.smc", D)],
                              "two.zip": [("a.smc", "six.smc", D), ("b.sfc", "five.smc", S)],
                              "packed.zip": [("game.smc", "six.smc", zipfile.ZIP_BZIP2)]}.items():
            self.paths[name] = os.path.join(folder, name)
            with zipfile.ZipFile(self.paths[name], "w") as archive:
                for entry, data, method in entries:
                    archive.writestr(entry, self.bytes(data) if data in self.paths else data, method)

    def path(self, name):
        return self.paths[name]

    def bytes(self, name):
        with open(self.paths[name], "rb") as file:
            return file.read()

    def cli(self, *arguments):
        out = os.path.join(self.folder, "cli-output.smc")
        if os.path.exists(out):
            os.remove(out)
        subprocess.run([os.path.join(NATIVE, "cli", "tavero-cli"), *arguments, "--output", out], check=True,
                       capture_output=True)
        with open(out, "rb") as file:
            return file.read()

    def dump(self, name):
        result = subprocess.run([os.path.join(NATIVE, "cli", "tavero-cli"), "dump", self.paths[name], "--format",
                                 "json"], check=True, capture_output=True, text=True)
        return json.loads(result.stdout)

    def set(self, name, *arguments):
        return self.cli("set", self.paths[name], *arguments)

    def code_patch_only(self, name):
        """The five-slot image as Load leaves it: the code patched for six slots, the records
        where they were (the shifted image with the record block put back)."""
        shifted, original = bytearray(self.cli("shift", self.paths[name])), self.bytes(name)
        block = slice(ib.ESPER_DATA, ib.ESPER_DATA + 27 * 13)
        shifted[block] = original[block]
        return bytes(shifted)


# ---- steps: each is called with the test case (for its assertions), the page and the images

def load(name):
    return lambda t, p, x: p.give_file(x.path(name))


def mouse_pick(control, index):
    return lambda t, p, x: p.pick_with_mouse(control, index)


def list_keys(control, *keys):
    return lambda t, p, x: p.keys_to(control, *keys)


def type_rate(control, text, shows=None):
    def step(t, p, x):
        p.type_rate(control, text)
        if shows is not None:
            t.assertEqual(p.value(control), shows, f"rate field {control} after typing {text!r}")
    return step


def paste_rate(control, text):
    return lambda t, p, x: p.paste_rate(control, text)


def command(command_id):
    return lambda t, p, x: p.command(command_id)


def answer(data_id):
    return lambda t, p, x: p.answer(data_id)


def keys(*names, event=True):
    return lambda t, p, x: p.keys(*names, expect_event=event)


def alt(letter):
    def step(t, p, x):
        p.alt(letter)  # opens a menu on the page: nothing for the program yet
        p.settle()
    return step


def message(text, buttons):
    """One message box open, with text (a regular expression, matched from the start) and
    buttons [(data-id, label)] in this order, the first one focused."""
    def step(t, p, x):
        boxes = p.open_dialogs()
        t.assertEqual(len(boxes), 1, "one message box open")
        box = boxes[0]
        t.assertEqual(box.get_attribute("role"), "alertdialog")
        shown = box.find_element(By.CSS_SELECTOR, "p").text
        t.assertRegex(shown, "^" + text)
        found = [(int(b.get_attribute("data-id")), b.text) for b in box.find_elements(By.CSS_SELECTOR, "button[data-id]")]
        t.assertEqual(found, buttons)
        t.assertEqual(p.driver.switch_to.active_element.get_attribute("data-id"), str(buttons[0][0]))
    return step


def give_archive(name):
    return lambda t, p, x: p.give_file(x.path(name), box=True)


def pick_image(names, index):
    """The page's box lists the archive's images as names; the one at index is picked (None: Cancel)."""
    def step(t, p, x):
        box = p.open_dialogs()[-1]
        t.assertEqual([b.text for b in box.find_elements(By.CSS_SELECTOR, "button[data-choice]")], names)
        if index is None:
            p.answer(2, event=False)
        else:
            p.act(box.find_elements(By.CSS_SELECTOR, "button[data-choice]")[index].click)
            # The box gives the focus back (an event) before the image is inflated and loaded.
            p.wait(lambda: p.driver.execute_script("return document.title").startswith(names[index] + " "),
                   "the load of " + names[index])
    return step


def no_dialog(t, p, x):
    t.assertEqual([d.text for d in p.open_dialogs()], [], "no dialog left open")


def value(control, expected):
    return lambda t, p, x: t.assertEqual(p.value(control), expected, f"field {control}")


def unsaved(expected):
    return lambda t, p, x: t.assertEqual(p.unsaved(), expected, "unsaved changes")


def focus(expected):
    return lambda t, p, x: t.assertEqual(p.focused_id(), expected, "the focus")


def ended(expected):
    return lambda t, p, x: t.assertEqual(p.ended(), expected, "the editor ended")


def same_bytes(t, got, want, what):
    t.assertEqual(len(got), len(want), what + ": length")
    if got != want:
        t.fail(f"{what} differs at {[hex(i) for i in range(len(want)) if got[i] != want[i]][:8]}")


def saved_as(name, expected):
    """Save's download of name holds what expected(images) gives."""
    def step(t, p, x):
        same_bytes(t, p.download(name), expected(x), f"{name} as saved, against tavero-cli's")
    return step


def nothing_downloaded(t, p, x):
    t.assertEqual(p.downloaded(), [])


def patch_applies(image, patch_name, header=0, loaded_from=None):
    """The downloaded patch, applied to the loaded image (loaded_from, else image) without its
    header, gives what Save wrote (after the same header)."""
    def step(t, p, x):
        patch, saved, loaded = p.download(patch_name), p.download(image), x.bytes(loaded_from or image)
        same_bytes(t, ib.apply_bps(loaded[header:], patch), saved[header:], "the patched image, against Save's")
        t.assertEqual(saved[:header], loaded[:header])
    return step


def tab_order(expected):
    """Tab from the esper box visits the controls in the template's order."""
    def step(t, p, x):
        visited = []
        for _ in expected:
            p.keys("Tab")
            visited.append(p.focused_id())
        t.assertEqual(visited, expected)
    return step


def shift_dialog(t, p, x):
    """"Shift Data?" as a modal alertdialog with OK (1, focused) and Cancel (2), its message whole."""
    boxes = p.open_dialogs()
    t.assertEqual(len(boxes), 1)
    box = boxes[0]
    t.assertEqual((box.get_attribute("role"), box.get_attribute("aria-label")), ("alertdialog", "Shift Data?"))
    buttons = [(b.get_attribute("data-id"), b.text) for b in box.find_elements(By.CSS_SELECTOR, "button[data-id]")]
    t.assertEqual(buttons, [("1", "OK"), ("2", "Cancel")])
    t.assertEqual(p.driver.switch_to.active_element.get_attribute("data-id"), "1", "OK has the focus")
    lines, client, ok = p.driver.execute_script("""
        const box = arguments[0], text = box.querySelector('.static'), range = document.createRange();
        range.selectNodeContents(text);
        const r = (e) => { const b = e.getBoundingClientRect(); return [b.left, b.top, b.right, b.bottom]; };
        return [[...range.getClientRects()].map((b) => [b.left, b.top, b.right, b.bottom]),
                r(box.querySelector('.client')), r(box.querySelector("[data-id='1']"))];""", box)
    words = box.find_element(By.CSS_SELECTOR, ".static").text
    t.assertEqual(" ".join(words.split()),
                  "This will shift old 5-slot esper data to align with the 6-slot espers patch.")
    for left, top, right, bottom in lines:
        t.assertTrue(client[0] <= left and right <= client[2] and client[1] <= top and bottom <= ok[1],
                     f"a line of the message at {(left, top, right, bottom)} lies outside the space above the buttons")


def same_pixels(t, got, want, what):
    """Rows of RGB alike; else the first pixel that differs (a whole diff of them takes ages)."""
    t.assertEqual((len(got[0]), len(got)), (len(want[0]), len(want)), what + ": size")
    for y, (row, expected) in enumerate(zip(got, want)):
        for x, (pixel, wanted) in enumerate(zip(row, expected)):
            if pixel != wanted:
                t.fail(f"{what}: pixel {(x, y)} is {pixel}, not {wanted}")


def face_pixels(control, item_name):
    """The box's selection field: its item in the normal scheme, text from (4, 7)."""
    def step(t, p, x):
        canvas = p.element(f"#ctl-{control} canvas.face")
        rows = p.canvas_rgb(canvas)
        want = ib.item_pixels(x.bytes("six.smc"), item_name(x), "normal", len(rows[0]), len(rows), 4, 7)
        same_pixels(t, rows, want, f"the face of box {control}")
    return step


def parts_inside(control):
    """The face and the drop button fill the box and stay within it."""
    def step(t, p, x):
        box, face, drop = p.driver.execute_script(
            "const b = arguments[0], r = (e) => { const q = e.getBoundingClientRect(); return [q.left, q.right]; };"
            "return [r(b), r(b.querySelector('canvas.face')), r(b.querySelector('.drop'))];", p.control(control))
        t.assertEqual((face[0], face[1], drop[1]), (box[0], drop[0], box[1]), f"face and drop button of box {control}")
    return step


def row_pixels(control, index, scheme, item_name):
    """A row of the open list: its item in scheme, text from (6, 4)."""
    def step(t, p, x):
        canvas = p.element(f"#ctl-{control}-list [data-index='{index}'] canvas")
        rows = p.canvas_rgb(canvas)
        want = ib.item_pixels(x.bytes("six.smc"), item_name(x), scheme, len(rows[0]), len(rows), 6, 4)
        same_pixels(t, rows, want, f"row {index} of box {control} in the {scheme} scheme")
    return step


def hover(control, index):
    def step(t, p, x):
        row = p.element(f"#ctl-{control}-list [data-index='{index}']")
        ActionChains(p.driver).move_to_element(row).perform()
        p.settle()
    return step


def intercept_file_chooser(t, p, x):
    p.engine.intercept_file_chooser()


def open_list(control):
    return lambda t, p, x: p.act(p.control(control).click)


def list_open(control, expected):
    def step(t, p, x):
        t.assertEqual(p.control(control).get_attribute("aria-expanded"), str(expected).lower(), f"box {control} dropped")
        t.assertEqual(p.element(f"#ctl-{control}-list").is_displayed(), expected)
    return step


def caption_heights(t, p, x):
    """Zoom 2 doubles the editor and the program's message boxes alike (captions of 18 pixels)."""
    heights = p.driver.execute_script(
        "return [...document.querySelectorAll('#TAVERO > .caption, dialog[open] .caption')]"
        ".map((c) => c.getBoundingClientRect().height);")
    t.assertEqual(heights, [36, 36])


def hard_edges_at_zoom_2(t, p, x):
    """At zoom 2 each canvas pixel is a 2x2 block of one colour on the screen."""
    Select(p.driver.find_element(By.ID, "zoom")).select_by_value("2")
    p.settle()
    canvas = p.element("#ctl-1000 canvas.face")
    pixels = p.canvas_rgb(canvas)
    left, top, width = p.driver.execute_script(
        "const b = arguments[0].getBoundingClientRect(); return [b.left, b.top, b.width];", canvas)
    scale = 2 * len(pixels[0]) / width  # 1, or 2 where an engine gives rects before CSS zoom (WebKit)
    _, _, screen = ib.read_png(p.driver.get_screenshot_as_png())
    left, top = round(left * scale), round(top * scale)
    for y in range(1, len(pixels) - 1):  # the box's 1-pixel frame lies over the canvas's edges
        for x_ in range(1, len(pixels[0]) - 1):
            for dy in range(2):
                for dx in range(2):
                    got = screen[top + 2 * y + dy][left + 2 * x_ + dx]
                    if got != pixels[y][x_]:
                        t.fail(f"canvas pixel {(x_, y)} {pixels[y][x_]} shows {got} at zoom 2: the scaling blends")


def beforeunload_held(expected):
    """Leaving the page is held back (the browser's question) exactly while changes are unsaved."""
    def step(t, p, x):
        held = p.driver.execute_script(
            "const e = new Event('beforeunload', {cancelable: true}); window.dispatchEvent(e); return e.defaultPrevented;")
        t.assertEqual(held, expected, "beforeunload held")
    return step


def page_gone(t, p, x):
    """The page goes as a crash or a killed browser takes it, asking nothing; a new one opens."""
    p.driver.execute_script("TaveroPage.hasUnsavedChanges = () => false;")
    p.open(keep_storage=True)


def offline_reload(t, p, x):
    """The service worker holds every file of the site; with the server gone, the page opens
    again and loads an image."""
    cached = p.driver.execute_async_script("""
        const done = arguments[0];
        navigator.serviceWorker.ready.then(() => caches.keys())
          .then((names) => Promise.all(names.map((name) => caches.open(name).then((cache) => cache.keys()))))
          .then((lists) => done(lists.flat().map((request) => new URL(request.url).pathname)));""")
    site = {"/" + name for name in site_files(SITE) if name != "sw.js"} | {"/"}
    t.assertEqual(sorted(set(cached)), sorted(site), "the files in the worker's cache")
    p.stop_server()
    try:
        p.open()
        p.give_file(x.path("six.smc"))
        t.assertEqual(p.value(1008), str(x.dump("six.smc")["espers"][0]["spells"][0]["rate"]))
    finally:
        p.restart_server()


def same_origin_only(t, p, x):
    origin = f"http://127.0.0.1:{p.port}/"
    urls = [u for u in p.engine.requested_urls() if re.match(r"(https?|wss?):", u)]
    t.assertTrue(urls, "the page's requests were seen")
    t.assertEqual([u for u in urls if not u.startswith(origin)], [], "requests to another origin")


def names_as_cli(t, p, x):
    """Each option's accessible name is the item as tavero-cli prints it."""
    dump = x.dump("six.smc")
    p.act(p.control(1000).click)
    labels = [o.get_attribute("aria-label") for o in p.driver.find_elements(By.CSS_SELECTOR, "#ctl-1000-list [role=option]")]
    t.assertEqual(labels, [e["name"] for e in dump["espers"]])
    p.keys("Escape")
    p.act(p.control(1001).click)
    options = p.driver.find_elements(By.CSS_SELECTOR, "#ctl-1001-list [role=option]")
    t.assertEqual(options[0].get_attribute("aria-label"), "No Spell")
    for esper in dump["espers"]:
        for pair in esper["spells"]:
            if pair["spell"] is not None:
                t.assertEqual(options[pair["spell"] + 1].get_attribute("aria-label"), pair["name"])
    p.keys("Escape")


def boxes_say_their_items(t, p, x):
    """A closed box tells a screen reader its current item, named as tavero-cli prints it."""
    esper = x.dump("six.smc")["espers"][0]
    want = [esper["name"]] + [pair["name"] if pair["spell"] is not None else "No Spell" for pair in esper["spells"]]
    want.append(esper["bonusName"])
    t.assertEqual([p.engine.accessible_value(f"#ctl-{n}") for n in range(1000, 1008)], want)


def dom_contract(t, p, x):
    editor = p.driver.find_element(By.ID, "TAVERO")
    t.assertEqual((editor.get_attribute("role"), editor.get_attribute("aria-label")), ("dialog", "TAVERO"))
    commands = [b.get_attribute("data-command") for b in editor.find_elements(By.CSS_SELECTOR, "[role=menubar] [data-command]")]
    t.assertEqual(commands, [str(LOAD), str(SAVE), str(EXIT), str(SHIFT)])
    mnemonics = [u.get_attribute("textContent") for u in editor.find_elements(By.CSS_SELECTOR, "[role=menubar] u")]
    t.assertEqual(mnemonics, ["F", "L", "S", "x"])
    for number in range(1000, 1008):
        t.assertEqual(p.control(number).get_attribute("role"), "combobox")
        t.assertEqual(p.element(f"#{p.control(number).get_attribute('aria-controls')}").get_attribute("role"), "listbox")
    for number in range(1008, 1014):
        field = p.control(number)
        t.assertEqual((field.tag_name, field.get_attribute("inputmode")), ("input", "numeric"))


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt")) as f:
        return re.search(r"project\(TAVERO VERSION (\S+)", f.read()).group(1)


def names_say_what(t, p, x):
    """The name a screen reader gives each rate field and "5->6" (the browser's own computation)."""
    t.assertEqual([p.control(n).accessible_name for n in range(1008, 1014)],
                  [f"Spell {n} learning rate" for n in range(1, 7)])
    shift = p.element(f"#TAVERO [data-command='{SHIFT}']")
    t.assertEqual((shift.accessible_name, shift.text), ("Shift the espers to six slots", "5->6"))


def site_files(folder):
    return sorted(os.path.relpath(os.path.join(top, name), folder) for top, _, names in os.walk(folder) for name in names)


def site_is_current(t, p, x):
    """The served site holds the page's files as they are in the sources."""
    sources = {name: os.path.join(SOURCE, "web", "site", name)
               for name in ("index.html", "app.js", "style.css", "manifest.webmanifest")}
    page = os.path.join(SOURCE, "framework", "web", "page")
    sources.update({"page/" + name: os.path.join(page, name) for name in os.listdir(page)})
    t.assertEqual(sorted(name for name in site_files(SITE) if name.startswith("page/")),
                  sorted(name for name in sources if name.startswith("page/")), "the page's modules in the site")
    version = project_version().encode()  # index.html has it filled in
    for name, source in sources.items():
        with open(source, "rb") as a, open(os.path.join(SITE, name), "rb") as b:
            t.assertTrue(a.read().replace(b"@PROJECT_VERSION@", version) == b.read(), f"{name} in the site is not the source's")


def worker_of(site):
    """The cache name and the file list the build wrote into site's sw.js."""
    with open(os.path.join(site, "sw.js"), encoding="utf-8") as file:
        text = file.read()
    return (re.search(r'const CACHE = "(tavero-[^"]+)"', text).group(1),
            re.findall(r'"([^"]+)"', re.search(r"const FILES = \[([^\]]*)\]", text).group(1)))


def restamp(site):
    """Writes site's sw.js again as the build does, for the files it holds now; its cache name."""
    files = [name for name in worker_of(site)[1] if name != "./"]
    subprocess.run(["cmake", "-DSOURCE=" + os.path.join(SOURCE, "web", "site", "sw.js"), "-DSITE=" + site,
                    "-DFILES=" + ",".join(files), "-DVERSION=" + project_version(), "-P",
                    os.path.join(SOURCE, "web", "StampServiceWorker.cmake")], check=True, capture_output=True)
    return worker_of(site)[0]


def stamp_follows_contents(t, p, x):
    """The offline cache's name changes with any file of the site (so a changed site is not
    served from the old cache for ever), and the worker caches every file the site has."""
    built, files = worker_of(SITE)
    t.assertEqual(sorted(files), sorted(["./"] + [name for name in site_files(SITE) if name != "sw.js"]))
    with tempfile.TemporaryDirectory() as work:
        copy = os.path.join(work, "site")
        shutil.copytree(SITE, copy)
        t.assertEqual(restamp(copy), built, "the same files, the same stamp")
        for name in ("page/events.js", "tavero.wasm"):
            with open(os.path.join(copy, name), "ab") as file:
                file.write(b"\n")
            stamp = restamp(copy)
            t.assertNotEqual(stamp, built, f"a changed {name} left the stamp as it was")
            built = stamp


def cached_text(p, name):
    """{cache name: name's text in it} for the worker's caches, once the worker is ready."""
    return p.driver.execute_async_script("""
        const [name, done] = arguments;
        navigator.serviceWorker.ready.then(() => caches.keys())
          .then((names) => Promise.all(names.map((cache) => caches.open(cache).then((c) => c.match(name))
            .then((response) => [cache, response ? response.text() : null]))))
          .then((pairs) => Promise.all(pairs.map(([cache, text]) => Promise.resolve(text).then((t) => [cache, t]))))
          .then((pairs) => done(Object.fromEntries(pairs)));""", name)


def date_long_past(folder, year):
    """Every file dated on 1 January of year, as a release's files all carry their commit's
    date: a server's Last-Modified that old makes a browser keep a file for years without asking
    (no Cache-Control says otherwise)."""
    when = 978307200 + (year - 2001) * 365 * 86400
    for top, _, names in os.walk(folder):
        for name in names:
            os.utime(os.path.join(top, name), (when, when))


def rebuilt_site_cached_from_network(t, p, x):
    """A site rebuilt with its files' dates long past: the new worker caches the new files, not
    the ones the browser's HTTP cache still holds from the first visit."""
    with tempfile.TemporaryDirectory() as work:
        copy = os.path.join(work, "site")
        shutil.copytree(SITE, copy)
        date_long_past(copy, 2001)
        try:
            p.serve(copy)
            p.forget_site()
            p.open()  # a first visit: the browser's cache and the worker's hold app.js
            first = restamp(copy)
            p.wait(lambda: cached_text(p, "app.js").get(first), "the first worker to cache the site")
            with open(os.path.join(copy, "app.js"), "a", encoding="utf-8") as file:
                file.write("// rebuilt\n")
            rebuilt = restamp(copy)
            date_long_past(copy, 2002)
            p.open()  # the browser finds a new sw.js and installs it
            texts = p.wait(lambda: (lambda c: c if list(c) == [rebuilt] else None)(cached_text(p, "app.js")),
                           "the rebuilt site's worker to take over from the first", 20)
            t.assertTrue(texts[rebuilt].endswith("// rebuilt\n"), "the new cache holds the first visit's app.js")
        finally:
            p.forget_site()
            p.serve(SITE)


class StaleProgramHandler(serve_site.SiteHandler):
    """A server behind a cache that holds an earlier build's tavero.wasm: a request that does not
    ask to bypass caches gets bytes that do not go with tavero.js."""
    stale_served = 0

    def do_GET(self):
        if self.path.split("?")[0].endswith("/tavero.wasm") and "no-cache" not in self.headers.get("Cache-Control", ""):
            with open(os.path.join(self.directory, "tavero.wasm"), "rb") as f:
                body = f.read()[:-64]
            StaleProgramHandler.stale_served += 1
            self.send_response(200)
            self.send_header("Content-Type", "application/wasm")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        super().do_GET()


def stale_program_fetched_again(t, p, x):
    """The program finds a tavero.wasm of another build beside its tavero.js, fetches it again
    from the network and starts."""
    StaleProgramHandler.stale_served = 0
    try:
        p.forget_site()
        p.serve(SITE, StaleProgramHandler)
        p.open()
        t.assertGreater(StaleProgramHandler.stale_served, 0, "the stale tavero.wasm was never served")
        p.give_file(x.path("six.smc"))
        t.assertEqual(p.value(1008), str(x.dump("six.smc")["espers"][0]["spells"][0]["rate"]))
    finally:
        p.forget_site()
        p.serve(SITE)


def headers_sent(t, p, x):
    """serve-site sends the policy as a header, with frame-ancestors, and the two others."""
    with urllib.request.urlopen(f"http://127.0.0.1:{p.port}/") as response:
        headers = response.headers
    t.assertIn("frame-ancestors 'none'", headers.get("Content-Security-Policy", ""))
    t.assertIn("script-src 'self'", headers.get("Content-Security-Policy", ""))
    t.assertEqual(headers.get("X-Content-Type-Options"), "nosniff")
    t.assertEqual(headers.get("Referrer-Policy"), "no-referrer")


def on_phone(width, height, scale):
    """The page opened on a phone's screen (Chromium's mobile emulation, touch), an image loaded."""
    def step(t, p, x):
        p.open(phone=(width, height, scale))
        p.give_file(x.path("six.smc"))
    return step


def fits_the_phone(t, p, x):
    """Zoom "Fit" by default; nothing past the right edge; every target at least 24x24 CSS
    pixels (the menu's entries and a list's rows with them open); the game text on whole
    device pixels."""
    t.assertEqual(p.element("#zoom").get_attribute("value"), "fit", "the zoom below 600 CSS pixels")
    measure = """return [...document.querySelectorAll(arguments[0])].filter((e) => e.getClientRects().length).map((e) => {
        const b = e.getBoundingClientRect();
        return [e.id || e.textContent, b.width, b.height, e.width && b.width * devicePixelRatio / e.width,
                e.height && b.height * devicePixelRatio / e.height]; })"""
    small, blurred = [], []
    for opened, css in ((None, "#TAVERO .close-box, #TAVERO [role=menubar] > button, .combo, .edit"),
                        ("#TAVERO [role=menubar] > button[aria-haspopup]", "#TAVERO [role=menu] > button"),
                        ("#ctl-1001", "#ctl-1001-list [role=option]")):
        if opened:
            p.tap(p.element(opened), event=opened.startswith("#ctl"))
        width, page_width = p.driver.execute_script("return [innerWidth, document.documentElement.scrollWidth]")
        t.assertLessEqual(page_width, width, f"the page's width with {opened or 'nothing'} open")
        small += [target[:3] for target in p.driver.execute_script(measure, css) if min(target[1:3]) < 24]
        blurred += [c[:1] + c[3:] for c in p.driver.execute_script(measure, "#TAVERO canvas")
                    if any(abs(r - round(r)) > 0.01 or r < 1 for r in c[3:])]
        if opened:
            p.keys("Escape", expect_event=False)  # closes what is open (with nothing open, it ends the editor)
    t.assertEqual(small[:5], [], f"{len(small)} targets under 24x24 CSS pixels, the first")
    t.assertEqual(blurred[:5], [], f"{len(blurred)} canvases whose pixels are not whole device pixels, the first")


def swipe_and_tap(t, p, x):
    """A finger drops a list, swipes it up (it scrolls) and taps a row: that item is picked."""
    p.tap(p.control(1001))
    listbox = p.element("#ctl-1001-list")
    left, top, width, height = p.driver.execute_script(
        "const b = arguments[0].getBoundingClientRect(); return [b.left, b.top, b.width, b.height];", listbox)
    middle = left + width / 2
    before = float(listbox.get_attribute("scrollTop"))
    p.engine.touch(*[(middle, top + height * (0.9 - 0.1 * step)) for step in range(8)])
    positions = [None]  # a tap while the list still glides only stops it
    p.wait(lambda: positions.append(float(listbox.get_attribute("scrollTop"))) or positions[-1] == positions[-2],
           "the list to come to rest")
    t.assertGreater(positions[-1], before, "the list scrolled")
    row = p.driver.execute_script("return document.elementFromPoint(arguments[0], arguments[1]).closest('[role=option]')",
                                  middle, top + height / 2)
    name = row.get_attribute("aria-label")
    p.tap(row)
    t.assertEqual(p.control(1001).get_attribute("aria-expanded"), "false", "the list closed")
    t.assertEqual(p.element("#ctl-1001 .value").get_attribute("textContent"), name, "the item tapped")


def held(name, unsaved_changes):
    """The document's title and the line beside the editor name the file held (None: none) and
    say whether its changes are unsaved; the editor's caption stays the program's."""
    def step(t, p, x):
        title, line, caption = p.driver.execute_script(
            "return [document.title, document.getElementById('held-image').textContent,"
            " document.querySelector('#TAVERO > .caption').textContent]")
        if name is None:
            t.assertEqual((title, line), ("TAVERO", "No image loaded"))
        else:
            t.assertEqual((title, line), (("*" if unsaved_changes else "") + name + " - TAVERO",
                                          name + (", unsaved changes" if unsaved_changes else ", no unsaved changes")))
        t.assertTrue(caption.startswith("TAVERO"), f"the editor's caption {caption!r}")
    return step


def rate_of(name, esper=0, pair=0):
    """The rate field shows the image's rate, as tavero-cli dumps it."""
    return lambda t, p, x: t.assertEqual(p.value(1008 + pair), str(x.dump(name)["espers"][esper]["spells"][pair]["rate"]))


def restart(t, p, x):
    """"Start it again" once the editor has ended."""
    t.assertTrue(p.ended(), "the editor ended")
    p.page_button("restart")
    p.wait(lambda: not p.ended() and p.driver.find_elements(By.ID, "ctl-1000"), "the editor to start again")


def page_failure(t, p, x):
    """A promise of the page's rejected with nothing to catch it: a file that is none. (Chromium
    dispatches no unhandledrejection for a promise a WebDriver script makes itself.)"""
    p.driver.execute_script("TaveroPage.openFile(null)")
    p.wait(p.open_dialogs, "a message box")
    p.engine.forget_console_errors()


def heap_stays(t, p, x):
    """Twenty files of 48 MiB given one after the other leave the program's heap as large as
    the first left it."""
    first = os.path.join(x.folder, "heap-01.smc")
    subprocess.run([os.path.join(NATIVE, "tools", "make-sample-image"), "--six-slot", "--size",
                    str(48 * 1024 * 1024), first], check=True, capture_output=True)
    heaps = []
    try:
        for n in range(1, 21):
            name = f"heap-{n:02}.smc"  # each a file of its own name, the bytes shared on disk
            if n > 1:
                os.link(first, os.path.join(x.folder, name))
            p.give_file(os.path.join(x.folder, name))
            p.wait(lambda: p.driver.execute_script("return document.title") == name + " - TAVERO", "the load of " + name)
            heaps.append(p.driver.execute_script("return Module.HEAPU8.length"))
    finally:
        for n in range(1, 21):
            if os.path.exists(os.path.join(x.folder, f"heap-{n:02}.smc")):
                os.remove(os.path.join(x.folder, f"heap-{n:02}.smc"))
    t.assertLessEqual(heaps[-1], heaps[0], f"the heap after each file, in MiB: {[h >> 20 for h in heaps]}")


def in_place(name):
    """The image handed to the page as a file it may write in place: a file of the origin's own
    file system, which the browser's open picker (stood in for) gives."""
    def step(t, p, x):
        p.driver.execute_script("""
            const input = document.createElement('input');
            input.type = 'file'; input.id = 'test-file'; document.body.append(input);""")
        p.driver.find_element(By.ID, "test-file").send_keys(x.path(name))
        p.driver.execute_async_script("""
            const [name, done] = arguments;
            (async () => {
              const root = await navigator.storage.getDirectory();
              const handle = await root.getFileHandle(name, { create: true });
              const writable = await handle.createWritable();
              await writable.write(document.getElementById('test-file').files[0]);
              await writable.close();
              window.__handle = handle;
              window.showOpenFilePicker = async () => [handle];
            })().then(() => done());""", os.path.basename(name))
        p.command(LOAD)
    return step


def disk_byte(offset, value):
    """Another program writes one byte into the file on disk."""
    def step(t, p, x):
        p.driver.execute_async_script("""
            const [offset, value, done] = arguments;
            __handle.createWritable({ keepExistingData: true }).then(async (w) => {
              await w.seek(offset); await w.write(new Uint8Array([value])); await w.close(); }).then(() => done());""",
                                      offset, value)
    return step


def on_disk(expected):
    """The file on disk holds what expected(images) gives."""
    def step(t, p, x):
        encoded = p.driver.execute_async_script("""
            const done = arguments[0];
            __handle.getFile().then((file) => { const reader = new FileReader();
              reader.onload = () => done(reader.result.split(',')[1]); reader.readAsDataURL(file); });""")
        same_bytes(t, base64.b64decode(encoded), expected(x), "the file on disk")
    return step


def save_over_changed_file(t, p, x):
    """Save; where the program asks whether to save over a file changed on disk, Yes."""
    p.command(SAVE)
    boxes = p.open_dialogs()
    if boxes:
        t.assertRegex(boxes[0].find_element(By.CSS_SELECTOR, "p").text, r"^nine\.smc has changed on disk")
        p.answer(6)


def with_byte(data, offset, value):
    data = bytearray(data)
    data[offset] = value
    return bytes(data)


def esper_name(index):
    return lambda x: ib.name(x.bytes("six.smc"), ib.ESPER_NAMES, ib.ESPER_NAME_WIDTH, index)


def spell_item(item):
    return lambda x: ib.NO_SPELL if item == 0 else ib.name(x.bytes("six.smc"), ib.SPELL_NAMES, ib.SPELL_NAME_WIDTH, item - 1)


def first_spell_plus(x, n):
    """The spell n items below esper 1's first spell."""
    return x.dump("six.smc")["espers"][1]["spells"][0]["spell"] + n


CASES = [
    Case("edits with the mouse and keys are saved as tavero-cli writes them",
         "an edit lost between page and model, a letter let into a rate field, a key on a closed list ignored",
         "six.smc",
         [mouse_pick(1000, 3), type_rate(1008, "7x7", shows="77"), type_rate(1008, Keys.BACKSPACE + "8", shows="78"),
          mouse_pick(1002, 5),
          list_keys(1003, "Home", "Down", "Down"), list_keys(1004, "End"),
          list_keys(1007, "Home", "Down", "Down", "Down", "Up"), type_rate(1013, "255"), unsaved(True),
          command(SAVE), unsaved(False),
          saved_as("six.smc", lambda x: x.set("six.smc", "--esper", "3", "--rate", "1=78", "--spell", "2=4",
                                              "--spell", "3=1", "--spell", "4=53", "--bonus", "2", "--rate", "6=255"))]),
    Case("the keyboard alone: Tab order, a list opened and picked, Alt+F S saves, Alt+F X ends",
         "Tab order unlike the template's, Alt+Down/Enter not picking, the keys dead after a menu command",
         "six.smc",
         [list_keys(1000, "Down"),
          tab_order([f"ctl-{n}" for n in range(1001, 1014)]), keys("4", "2"), value(1013, "42"),
          lambda t, p, x: p.act(lambda: p.control(1001).send_keys(Keys.ALT, Keys.ARROW_DOWN)),
          keys("Down", "Down", event=False), keys("Enter"), alt("f"), keys("s"),
          saved_as("six.smc", lambda x: x.set("six.smc", "--esper", "1", "--rate", "6=42", "--spell",
                                              f"1={first_spell_plus(x, 2)}")),
          alt("f"), keys("x"), no_dialog, ended(True)]),
    Case('"5->6" and OK: the saved image is what tavero-cli shift writes',
         "the shift lost, or the dialog's OK not reaching the program",
         "five.smc",
         [command(SHIFT), shift_dialog, answer(1), no_dialog, unsaved(True), command(SAVE),
          saved_as("five.smc", lambda x: x.cli("shift", x.path("five.smc")))]),
    Case('"5->6" and Cancel: only the code patch Load applies is saved',
         "Cancel shifting the records anyway, the focus lost when the dialog goes",
         "five.smc",
         [lambda t, p, x: p.act(p.control(1008).click), command(SHIFT), answer(2), no_dialog, focus("ctl-1008"),
          unsaved(False), command(SAVE),
          saved_as("five.smc", lambda x: x.code_patch_only("five.smc"))]),
    Case('"5->6" and Enter: OK, the default button',
         "the focus left on the caption's close box, so Enter cancels",
         "five.smc",
         [command(SHIFT), keys("Enter"), no_dialog, unsaved(True)]),
    Case('"5->6" by keyboard: F10 and Escape leave the menu bar, Alt+F and Right reach "5->6", Enter runs it',
         "a menu bar item without a mnemonic out of the keyboard's reach, Escape in the menu bar ending the editor",
         "five.smc",
         [lambda t, p, x: p.act(p.control(1008).click), keys("F10", event=False),
          lambda t, p, x: t.assertEqual(p.driver.switch_to.active_element.get_attribute("textContent"), "File"),
          keys("Escape", event=False), focus("ctl-1008"), ended(False), alt("f"), keys("Right", event=False),
          keys("Enter"), shift_dialog, keys("Enter"), no_dialog, unsaved(True), focus("ctl-1008")]),
    Case('"5->6" and Escape: Cancel',
         "Escape taken as OK, or dropped",
         "five.smc",
         [command(SHIFT), keys("Escape"), no_dialog, unsaved(False)]),
    Case("a typed rate over 255 is refused with the framework's prompt, the last good value kept and selected",
         "the prompt missing, the refused value stored, or the field left holding it",
         "six.smc",
         [type_rate(1009, "300"), message("Please enter an integer between 0 and 255.", [(1, "OK")]),
          keys("Enter"), no_dialog, value(1009, "30"), focus("ctl-1009"), keys("7"), value(1009, "7"),
          command(SAVE), saved_as("six.smc", lambda x: x.set("six.smc", "--esper", "0", "--rate", "2=7"))]),
    Case("a pasted rate over 255 is refused as a typed one",
         "a paste bypassing the model's check",
         "six.smc",
         [paste_rate(1010, "300"), message("Please enter an integer between 0 and 255.", [(1, "OK")]), answer(1),
          value(1010, "0"), unsaved(False)]),
    Case("an image too short is refused with a message naming the file",
         "a short file taken, or the message naming an inner path",
         "short.smc",
         [message(r"Could not load short\.smc:\nthe file is too short for an image", [(1, "OK")]), answer(1),
          lambda t, p, x: p.page_button("download-patch"),
          message("There is no image to make a patch of: load one first.", [(1, "OK")]), answer(1),
          nothing_downloaded]),
    Case("Enter after an edit asks to save: Escape keeps the editor, No ends it unsaved",
         "edits thrown away without a question, or Cancel ending the editor",
         "six.smc",
         [type_rate(1008, "9"), keys("Enter"),
          message(r"Save changes to six\.smc\?", [(6, "Yes"), (7, "No"), (2, "Cancel")]), keys("Escape"),
          no_dialog, ended(False), value(1008, "9"), focus("ctl-1008"), unsaved(True), keys("Enter"), answer(7),
          ended(True), nothing_downloaded]),
    Case("the caption's close box asks too; Yes saves, then ends",
         "the close box ending without a question, Yes ending without saving",
         "six.smc",
         [type_rate(1008, "9"), lambda t, p, x: p.act(p.element("#TAVERO .close-box").click),
          message(r"Save changes to six\.smc\?", [(6, "Yes"), (7, "No"), (2, "Cancel")]), answer(6), ended(True),
          saved_as("six.smc", lambda x: x.set("six.smc", "--esper", "0", "--rate", "1=9"))]),
    Case("a file given to the page while changes are unsaved asks first; Cancel keeps, No loads",
         "a Load through the page throwing edits away",
         "six.smc",
         [type_rate(1008, "9"), load("five.smc"), message(r"Save changes to six\.smc\?", [(6, "Yes"), (7, "No"), (2, "Cancel")]),
          answer(2), value(1008, "9"), load("five.smc"), answer(7), no_dialog, unsaved(False),
          lambda t, p, x: t.assertEqual(p.value(1008), str(x.dump("five.smc")["espers"][0]["spells"][0]["rate"]))]),
    Case("the same file given twice is loaded twice",
         "the file input keeping its value, so the browser sends no change",
         "six.smc",
         [type_rate(1008, "9"), load("six.smc"), answer(7), value(1008, "1")]),
    Case("an edit outlives the page: the next Load of the file offers it back, Yes shows it unsaved",
         "edits lost with the page, or not kept in the browser's storage",
         "six.smc",
         [type_rate(1008, "9"), page_gone, load("six.smc"),
          message(r"Recover the unsaved changes to six\.smc\?", [(6, "Yes"), (7, "No")]), answer(6), value(1008, "9"),
          unsaved(True)]),
    Case("closing the tab is held back while changes are unsaved",
         "the guard missing, or asking with nothing unsaved",
         "six.smc",
         [beforeunload_held(False), type_rate(1011, "5"), beforeunload_held(True), command(SAVE),
          beforeunload_held(False)]),
    Case("Download patch: the patch applied to the loaded image gives what Save writes",
         "a patch from the wrong bytes, or missing an edit",
         "six.smc",
         [mouse_pick(1000, 5), type_rate(1009, "12"), mouse_pick(1007, 4),
          lambda t, p, x: p.page_button("download-patch"), command(SAVE), patch_applies("six.smc", "six.bps"),
          saved_as("six.smc", lambda x: x.set("six.smc", "--esper", "5", "--rate", "2=12", "--bonus", "4"))]),
    Case("Download patch of an image with a copier header leaves the header out",
         "the header patched, or counted in the patch's offsets",
         "hdr.smc",
         [type_rate(1008, "33"), lambda t, p, x: p.page_button("download-patch"), command(SAVE),
          patch_applies("hdr.smc", "hdr.bps", header=512)]),
    Case("game text pixels: a face and the rows of a dropped list in their schemes",
         "a wrong glyph, colour, scheme or place in what the canvases show, a drop button past its box",
         "six.smc",
         [parts_inside(1000), face_pixels(1000, esper_name(0)), face_pixels(1001, spell_item(1)), open_list(1001), hover(1001, 3),
          row_pixels(1001, 3, "highlight", spell_item(3)), row_pixels(1001, 1, "current", spell_item(1)),
          row_pixels(1001, 0, "normal", spell_item(0)), keys("Escape"), list_open(1001, False), ended(False)]),
    Case("zoom 2 scales the game text with hard pixel edges",
         "smoothed canvases", "six.smc", [hard_edges_at_zoom_2]),
    Case("zoom 2 scales the program's dialogs with the editor",
         "a message box left at zoom 1", "six.smc",
         [lambda t, p, x: Select(p.driver.find_element(By.ID, "zoom")).select_by_value("2"),
          command(SHIFT), caption_heights, answer(1)], needs=[engines.ZOOMED_RECTS]),
    Case("a dropped list closes when the focus leaves it",
         "a list left open (and the model dropped) after a click elsewhere",
         "six.smc",
         [open_list(1001), list_open(1001, True), lambda t, p, x: p.act(p.control(1009).click), list_open(1001, False),
          open_list(1002), list_open(1002, True), list_open(1001, False)]),
    Case("roles, names and ids as the page promises them",
         "a screen reader or a test unable to find a control or its items",
         "six.smc", [dom_contract, names_as_cli]),
    Case("a screen reader names the rate fields and \"5->6\" for what they are",
         'fields heard as "Spell #1: x", the command as "5->6"', "six.smc", [names_say_what]),
    Case("a closed box gives a screen reader its current item",
         "a closed box heard without its value (its face is pixels)",
         "six.smc", [boxes_say_their_items], needs=[engines.ACCESSIBILITY_TREE]),
    Case("on phones 320, 390 and 430 CSS pixels wide the editor fits, its targets are 24x24 at least",
         "12-pixel rows, 21-pixel boxes, a 16x14 close box under a finger; an editor past the right edge; "
         "blurred game text", None,
         [on_phone(320, 640, 2), fits_the_phone, on_phone(390, 844, 3), fits_the_phone, on_phone(430, 932, 3),
          fits_the_phone], needs=[engines.MOBILE]),
    Case("on a phone a dropped list scrolls by swipe and picks by tap",
         "a list that a finger cannot scroll or pick from", None,
         [on_phone(390, 844, 3), swipe_and_tap], needs=[engines.MOBILE]),
    Case("an image in a .zip loads; Save downloads it under its own name",
         "the archive taken for an image, or saved as a zip or under the archive's name", "one.zip",
         [type_rate(1008, "9"), command(SAVE),
          saved_as("Game.smc", lambda x: x.set("six.smc", "--esper", "0", "--rate", "1=9")),
          lambda t, p, x: t.assertEqual(p.downloaded(), ["Game.smc"])]),
    Case("a .zip of several images: the user picks one, or cancels",
         "one of several images taken without asking, the image picked not the one loaded, Cancel loading",
         "six.smc",
         [give_archive("two.zip"), pick_image(["a.smc", "b.sfc"], None), no_dialog, value(1008, "1"),
          give_archive("two.zip"), pick_image(["a.smc", "b.sfc"], 1), no_dialog, command(SAVE),
          saved_as("b.sfc", lambda x: x.code_patch_only("five.smc"))]),
    Case("a .zip the page cannot read is refused in a message box saying why; the image held stays",
         "an archive refused in silence, or its refusal swapping the image held", "six.smc",
         [type_rate(1008, "9"), give_archive("packed.zip"),
          message(r"Could not load packed\.zip:\nits image game\.smc is packed by a method the page does not read",
                  [(1, "OK")]), lambda t, p, x: p.answer(1, event=False), no_dialog, value(1008, "9"), unsaved(True)]),
    Case("a file of the held one's name waits for the question: Cancel leaves Save and Download patch as they were",
         "the given file stored under the held one's name before the question, so that a patch or Save after Cancel "
         "comes from the other image",
         "one/s.smc",
         [type_rate(1008, "77"), load("two/s.smc"), message(r"Save changes to s\.smc\?", [(6, "Yes"), (7, "No"), (2, "Cancel")]),
          answer(2), no_dialog, value(1008, "77"), lambda t, p, x: p.page_button("download-patch"), command(SAVE),
          patch_applies("s.smc", "s.bps", loaded_from="one/s.smc"),
          saved_as("s.smc", lambda x: x.set("one/s.smc", "--esper", "0", "--rate", "1=77"))]),
    Case("a file of the held one's name given with changes unsaved: Yes saves the held image, then loads the other",
         "Yes loading the held image again from the bytes just saved under the shared name",
         "one/s.smc",
         [type_rate(1008, "77"), load("two/s.smc"), answer(6), no_dialog,
          saved_as("s.smc", lambda x: x.set("one/s.smc", "--esper", "0", "--rate", "1=77")), rate_of("five.smc"),
          held("s.smc", False)]),
    Case("a file larger than the page takes is refused at once, naming its size; the image held stays",
         "a file read whole into the tab before it is refused, or refused without a word",
         "six.smc",
         [type_rate(1008, "9"), lambda t, p, x: p.give_file(x.path("big.smc"), box=True),
          message(r"Could not load big\.smc:\nit is 64\.0 MiB \(67,108,865 bytes\), and the page takes images of up "
                  r"to 64 MiB\.", [(1, "OK")]),
          lambda t, p, x: p.answer(1, event=False), no_dialog, value(1008, "9"), unsaved(True)]),
    Case("twenty files of 48 MiB in a row leave the heap as the first left it",
         "each file's bytes kept (or copied twice) in the program's heap until the tab runs out of memory",
         None, [heap_stays]),
    Case("a failure on the page is told in a message box, and the editor goes on",
         "a rejected promise failing in silence", "six.smc",
         [page_failure, message("Something went wrong on the page:\n.", [(1, "OK")]),
          lambda t, p, x: p.answer(1, event=False), type_rate(1008, "5", shows="5"), unsaved(True)]),
    Case("the title and the line beside the editor say which file is held and whether it has unsaved changes",
         "a page that does not say which file it holds, or hides unsaved changes", None,
         [held(None, False), load("six.smc"), held("six.smc", False), type_rate(1008, "9"), held("six.smc", True),
          command(SAVE), held("six.smc", False)]),
    Case("\"Start it again\" after the editor ended reopens it with the image as last saved, edits dropped",
         "the session lost with a reload of the page, or the edits dropped with No come back", "six.smc",
         [type_rate(1008, "77"), command(SAVE), type_rate(1008, "5"), keys("Escape"), answer(7), ended(True), restart,
          value(1008, "77"), unsaved(False), held("six.smc", False), type_rate(1008, "78"), keys("Enter"), answer(7),
          restart, value(1008, "77")]),
    Case("Save through a file handle reads the file on disk first: bytes past the image are the disk's",
         "a save writing what the page read at Load over what another program wrote since", None,
         [in_place("nine.smc"), type_rate(1008, "77"), disk_byte(0x880000, 0xAB), save_over_changed_file,
          on_disk(lambda x: with_byte(x.set("nine.smc", "--esper", "0", "--rate", "1=77"), 0x880000, 0xAB))],
         needs=[engines.FILE_HANDLES]),
    Case("Alt+F L loads through the page's file choice",
         "the Load command's choice never answered by the file input, the focus not back after the menu",
         None,
         [lambda t, p, x: p.open("?no-file-system-access"), intercept_file_chooser, alt("f"), keys("l"),
          load("six.smc"), no_dialog, value(1008, "1"), focus("ctl-1000")]),
    Case("every request stays on the site's origin",
         "the page fetching from elsewhere",
         "six.smc",
         [mouse_pick(1001, 2), lambda t, p, x: p.page_button("download-patch"), command(SAVE), same_origin_only]),
    Case("the site served is the sources' current page, its offline cache named by its contents",
         "a stale copy of a page file in the build, a changed site served from the old cache",
         None, [site_is_current, stamp_follows_contents]),
    Case("after a first visit the page opens and loads offline",
         "a file of the site missing from the service worker's cache",
         None, [offline_reload]),
    Case("a rebuilt site's worker caches the new files from the network",
         "the worker filling its cache through the browser's HTTP cache: the old build's files offline",
         None, [rebuilt_site_cached_from_network]),
    Case("a tavero.wasm of another build is fetched again from the network and the program starts",
         "the page running a tavero.js with another build's tavero.wasm (no start, or a broken one)",
         None, [stale_program_fetched_again]),
    Case("the server sends the policy as a header, with frame-ancestors, nosniff and no referrer",
         "the policy only as a meta tag (no frame-ancestors), no security headers", None, [headers_sent]),
]


class WebPageTest:
    """The cases in one engine (ENGINE)."""
    ENGINE = None

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory(prefix=f"tavero-web-{cls.ENGINE}-")
        cls.images = Images(cls.work.name)
        cls.page = EditorPage(cls.ENGINE, SITE, cls.work.name)

    @classmethod
    def tearDownClass(cls):
        cls.page.close()
        cls.work.cleanup()

    def test_cases(self):
        only = os.environ.get("TAVERO_WEB_CASE", "")
        for case in CASES:
            if only not in case.name:
                continue
            with self.subTest(case.name, fault=case.fault):
                lacking = [self.page.engine.cannot[need] for need in case.needs if need in self.page.engine.cannot]
                if lacking:
                    self.skipTest("; ".join(lacking))
                self.page.open()
                if case.image:
                    self.page.give_file(self.images.path(case.image))
                for number, step in enumerate(case.steps, 1):
                    try:
                        step(self, self.page, self.images)
                    except AssertionError as failure:
                        raise AssertionError(f"step {number} of {len(case.steps)}: {failure}") from None
                self.assertEqual(self.page.console_errors(), [], "errors in the page's console")


for engine in os.environ.get("TAVERO_WEB_ENGINES", ",".join(engines.ENGINES)).split(","):
    globals()[f"{engine.capitalize()}Test"] = type(f"{engine.capitalize()}Test", (WebPageTest, unittest.TestCase),
                                                   {"ENGINE": engine})


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: web_tests.py SITE NATIVE_BUILD [unittest options]")
    SITE, NATIVE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # through atexit: the browser is closed
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]], verbosity=2)
