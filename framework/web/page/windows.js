// The window model's dialogs and controls as elements of the page. The program's main dialog
// is shown in the page's editor host; every other dialog is a modal <dialog>. Each element
// shows what the model holds, as the program tells it (framework/web/Controls.cpp and
// Dialogs.cpp through the JS library); what the user does goes back as events.

import { labelControls } from "./accessibility.js";
import * as combo from "./combobox.js";
import { createEdit, showText } from "./edit.js";
import { post } from "./events.js";
import { createMenubar, menuTakesKey } from "./menubar.js";
import { ElementKind, EventKind, Win } from "./protocol.js";

const windows = new Map();  // window handle -> the record of what shows it
let focusedWindow = 0;  // the window the program last gave the focus to
let host = null;  // where the main dialog goes
// How much taller than the template the dialogs' rows are drawn, and the least height (CSS
// pixels before the zoom) of a list's row: both set by the zoom (zoom.js) so that on a touch
// screen every control is a finger's size.
let stretch = { rows: 1, target: 0 };

export function setHost(element) {
  host = element;
}

// main: the application's name, the main dialog's element id; empty for any other dialog.
export function createDialog(window, main, templateId, caption, width, height, menu) {
  const element = document.createElement(main ? "div" : "dialog");
  element.className = "window";
  element.id = main || "dialog-" + templateId;
  element.setAttribute("role", main ? "dialog" : "alertdialog");
  element.setAttribute("aria-label", caption);
  element.tabIndex = -1;  // the window itself holds the focus when none of its controls takes it
  if (!main) element.setAttribute("aria-modal", "true");
  const bar = document.createElement("div");
  bar.className = "caption";
  const title = document.createElement("span");
  title.textContent = caption;
  const close = document.createElement("button");
  close.className = "close-box";
  close.setAttribute("aria-label", "Close");
  close.tabIndex = -1;
  close.textContent = "\u00d7";
  close.addEventListener("click", () => post({ kind: EventKind.Close, window }));
  bar.append(title, close);
  element.append(bar);
  const record = { kind: "dialog", element, title, main: Boolean(main), controls: [], menu: null };
  if (menu.length) element.append(createMenubar(window, record, menu));
  const client = document.createElement("div");
  client.className = "client";
  element.append(client);
  record.client = client;
  record.size = { width, height };
  placeClient(record);
  element.addEventListener("keydown", (event) => dialogKey(window, record, event));
  if (!main) {
    // Escape on a <dialog>: the program decides, as Escape in any dialog.
    element.addEventListener("cancel", (event) => {
      event.preventDefault();
      post({ kind: EventKind.Escape, window });
    });
  }
  if (main) {
    const ended = document.getElementById(main);  // the editor's last run, kept to look at until now
    if (ended) ended.remove();
  }
  (main ? host : document.body).append(element);
  windows.set(window, record);
}

// Enter and Escape as the dialog manager takes them, once the menu has had its keys.
function dialogKey(window, dialog, event) {
  if (menuTakesKey(dialog, event)) return;
  if (event.key === "Enter" && !(event.target instanceof HTMLButtonElement)) {
    event.preventDefault();
    post({ kind: EventKind.Enter, window });
  } else if (event.key === "Escape") {
    event.preventDefault();
    post({ kind: EventKind.Escape, window });
  }
}

function placeClient(record) {
  record.client.style.width = record.size.width + "px";
  record.client.style.height = Math.round(record.size.height * stretch.rows) + "px";
}

// Where the template puts the control, its rows stretched.
function placeControl(record) {
  const { x, y, width, height } = record.area, element = record.element;
  element.style.left = x + "px";
  element.style.top = Math.round(y * stretch.rows) + "px";
  element.style.width = width + "px";
  if (record.kind === "combo") combo.placeCombo(record, stretch);
  else element.style.height = Math.round(height * stretch.rows) + "px";
}

// Every dialog's rows rows times the template's height, and a list's rows target pixels high
// at least.
export function setStretch(rows, target) {
  stretch = { rows, target };
  for (const record of windows.values()) {
    if (record.kind === "dialog") placeClient(record);
    else placeControl(record);
  }
}

// The application's name: the main dialog's element id, the caption of its message boxes.
export function applicationName() {
  const main = [...windows.values()].find((record) => record.main);
  return main ? main.element.id : document.title;
}

// The main dialog's width at zoom 1, and the height of its smallest control that takes input
// (0 while there is none).
export function mainWidth() {
  const main = [...windows.values()].find((record) => record.main);
  return main ? main.element.offsetWidth : 0;
}

export function smallestTarget() {
  const main = [...windows.values()].find((record) => record.main);
  const heights = main ? main.controls.map((control) => windows.get(control))
    .filter((record) => record.kind !== "static").map((record) => record.kind === "combo" ? record.fieldHeight
      : record.area.height) : [];
  return heights.length ? Math.min(...heights) : 0;
}

// name: what a screen reader calls the control; "" for the labels before it (accessibility.js).
// metrics: a combo box's, from the window model (combobox.js).
export function createControl(window, dialog, kind, id, x, y, width, height, style, text, tabStop, name, metrics) {
  const owner = windows.get(dialog);
  let record;
  if (kind === ElementKind.Combo) {
    record = combo.createCombo(window, id, width, metrics);
  } else if (kind === ElementKind.Edit) {
    record = createEdit(window, id, style);
  } else if (kind === ElementKind.Button) {
    const button = document.createElement("button");
    button.className = "button" + ((style & 0x0f) === Win.BS_DEFPUSHBUTTON ? " default" : "");
    button.id = "ctl-" + id;
    button.dataset.id = id;
    button.textContent = text;
    button.addEventListener("click", () => post({ kind: EventKind.Click, window }));
    record = { kind: "button", element: button };
  } else {
    const label = document.createElement("span");
    label.className = "static" + (style & Win.SS_CENTER ? " centre" : "");
    label.id = "static-" + dialog + "-" + owner.controls.length;
    label.textContent = text;
    record = { kind: "static", element: label };
  }
  record.tabStop = tabStop;
  if (kind !== ElementKind.Static) record.element.tabIndex = tabStop ? 0 : -1;
  if (style & Win.WS_DISABLED) showEnabled(record, false);
  if (name) record.element.setAttribute("aria-label", name);
  record.element.addEventListener("focus", () => post({ kind: EventKind.Focus, window }));
  record.area = { x, y, width, height };
  placeControl(record);
  owner.client.append(record.element);
  if (record.list) owner.client.append(record.list);
  owner.controls.push(window);
  windows.set(window, record);
}

export function dialogText(window, text) {
  const record = windows.get(window);
  record.title.textContent = text;
  record.element.setAttribute("aria-label", text);
}

export function showDialog(window) {
  const record = windows.get(window);
  labelControls(record.controls.map((control) => windows.get(control)));
  if (record.main) return;
  record.element.showModal();
  // The program gave the focus to a control while the dialog was hidden; showModal would
  // put it on the first focusable element, the caption's close box.
  const focused = windows.get(focusedWindow);
  if (record.controls.includes(focusedWindow) && focused) focused.element.focus();
}

export function endDialog(window) {
  const record = windows.get(window);
  if (record && !record.main && record.element.open) record.element.close();
}

export function destroyDialog(window) {
  const record = windows.get(window);
  if (!record) return;
  for (const control of record.controls) windows.delete(control);
  windows.delete(window);
  if (!record.main) record.element.remove();
}

export function itemsChanged(window, count) {
  combo.itemsChanged(window, windows.get(window), count);
}

export function selectionChanged(window, index) {
  combo.selectionChanged(window, windows.get(window), index);
}

export function textChanged(window, text, start, end) {
  const record = windows.get(window);
  if (record.kind === "edit") showText(record, text, start, end);
  else record.element.textContent = text;
}

// A disabled control: greyed, out of the tab order, taking no input.
function showEnabled(record, enabled) {
  record.disabled = !enabled;
  if (record.kind === "edit" || record.kind === "button") record.element.disabled = !enabled;
  if (record.kind === "combo") {
    combo.enabledChanged(record, enabled);
    record.element.tabIndex = enabled && record.tabStop ? 0 : -1;
  }
}

export function enabledChanged(window, enabled) {
  showEnabled(windows.get(window), enabled);
}

export function redrawChanged(window, on) {
  combo.redrawChanged(windows.get(window), on);
}

export function repaint(window) {
  const record = windows.get(window);
  if (record.kind === "combo") combo.repaint(window, record, () => windows.get(window) === record);
}

export function focus(window) {
  focusedWindow = window;
  const record = windows.get(window);
  if (record) record.element.focus();
}
