// The browser side of the web backend, assembled from its modules: what the program calls
// (through framework/web/library.js, under the global TaveroPage) and what the page around
// the editor configures. The program runs tavero.js; the page never changes what the window
// model holds by itself.

import { post, takeEvent, waitForEvent } from "./events.js";
import { chooseFile, configureFiles, download, fileGiven, saveFile } from "./files.js";
import { messageBox } from "./messagebox.js";
import { hasUnsavedChanges } from "./program.js";
import { EventKind } from "./protocol.js";
import * as windows from "./windows.js";
import { configureZoom, refit, setZoom } from "./zoom.js";

let mainName = "";

export const TaveroPage = {
  // host: where the editor goes; input: the page's <input type="file">; useFileSystemAccess:
  // whether to use the browser's open picker where it has one.
  configure(options) {
    windows.setHost(options.host);
    configureZoom(options.host);
    configureFiles(options);
  },
  setZoom,
  openFile: fileGiven,
  pageCommand: (name) => post({ kind: EventKind.PageCommand, text: name }),
  hasUnsavedChanges,

  // What the program calls.
  post,
  waitForEvent,
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
  messageBox(request, caption, text, type) {
    messageBox(caption, text, type, (id) => post({ kind: EventKind.AnswerGiven, a: request, b: id }));
  },
  chooseFile,
  saveFile,
  download,
  programEnded() {
    const main = mainName && document.getElementById(mainName);
    if (main) main.classList.add("ended");
    document.dispatchEvent(new CustomEvent("tavero-ended"));
  },
};

// The JS library reaches the page under this name, and so may a test.
globalThis.TaveroPage = TaveroPage;
