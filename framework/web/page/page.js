// The browser side of the web backend, assembled from its modules: what the program calls
// (through framework/web/library.js, under the global TaveroPage) and what the page around
// the editor configures. The program runs tavero.js; the page never changes what the window
// model holds by itself.

import { post, takeEvent, waitForEvent } from "./events.js";
import {
  chooseFile, configureFiles, download, fileGiven, forgetGivenFile, reason, refreshFile, saveFile, takeGivenFile,
} from "./files.js";
import { messageBox } from "./messagebox.js";
import { hasUnsavedChanges, heldFileName } from "./program.js";
import { EventKind, Win } from "./protocol.js";
import * as windows from "./windows.js";
import { configureZoom, refit, setZoom } from "./zoom.js";

let mainName = "";
let heldLine = null;
let title = "";
let stopped = false;  // the program failed past going on: only a reload starts it again

// The document's title and the line beside the editor say which file is held and whether it
// has unsaved changes, as the program last left them.
function showHeld() {
  const name = heldFileName(), unsaved = name && hasUnsavedChanges();
  document.title = name ? `${unsaved ? "*" : ""}${name} - ${title}` : title;
  if (heldLine) heldLine.textContent = name ? `${name}, ${unsaved ? "unsaved changes" : "no unsaved changes"}`
    : "No image loaded";
}

// Anything that went wrong on the page is told, never dropped: the editor goes on.
function tell(error) {
  messageBox(windows.applicationName(), `Something went wrong on the page:\n${reason(error)}`, Win.MB_OK, () => {});
}

export const TaveroPage = {
  // host: where the editor goes; input: the page's <input type="file">; useFileSystemAccess:
  // whether to use the browser's open picker where it has one; held: the line that says what
  // the editor holds.
  configure(options) {
    windows.setHost(options.host);
    configureZoom(options.host);
    configureFiles(options);
    heldLine = options.held;
    title = document.title;
    window.addEventListener("unhandledrejection", (event) => {
      event.preventDefault();
      tell(event.reason);
    });
    window.addEventListener("error", (event) => {
      event.preventDefault();
      if (!stopped) tell(event.error || event.message);
    });
    // tavero.js reads its settings from the global Module it finds.
    globalThis.Module = Object.assign(globalThis.Module || {}, {
      onAbort(what) {
        stopped = true;
        messageBox(title, `The editor stopped: ${reason(what)}\nStart it again to go on.`, Win.MB_OK, () => {});
        TaveroPage.programEnded();
      },
    });
  },
  setZoom,
  openFile: fileGiven,
  pageCommand: (name) => post({ kind: EventKind.PageCommand, text: name }),
  hasUnsavedChanges,
  // After the program ended: it runs again, with the file it held as last loaded or saved.
  restart() {
    if (stopped) location.reload();
    else post({ kind: EventKind.Restart });
  },

  // What the program calls.
  post,
  waitForEvent() {
    Promise.resolve().then(showHeld);  // once the program is suspended
    return waitForEvent();
  },
  takeEvent,
  createDialog(window, main, templateId, caption, width, height, menu) {
    if (main) mainName = main;
    windows.createDialog(window, main, templateId, caption, width, height, menu);
  },
  createControl: windows.createControl,
  dialogText: windows.dialogText,
  showDialog(window) {
    windows.showDialog(window);
    refit();  // Fit follows the dialogs' controls
  },
  endDialog: windows.endDialog,
  destroyDialog: windows.destroyDialog,
  itemsChanged: windows.itemsChanged,
  selectionChanged: windows.selectionChanged,
  textChanged: windows.textChanged,
  redrawChanged: windows.redrawChanged,
  repaint: windows.repaint,
  focus: windows.focus,
  enabledChanged: windows.enabledChanged,
  // form: the window model's ({ buttons, defaultId, escapeId, warning }).
  messageBox(request, caption, text, form) {
    messageBox(caption, text, form, (id) => post({ kind: EventKind.AnswerGiven, a: request, b: id }));
  },
  chooseFile,
  takeGivenFile,
  forgetGivenFile,
  refreshFile,
  saveFile,
  download,
  programEnded() {
    const main = mainName && document.getElementById(mainName);
    if (main) main.classList.add("ended");
    if (!stopped) showHeld();
    document.dispatchEvent(new CustomEvent("tavero-ended"));
  },
};

// The JS library reaches the page under this name, and so may a test.
globalThis.TaveroPage = TaveroPage;
