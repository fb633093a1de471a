// The owner-drawn drop-down list: a box whose face and rows are canvases the program draws
// into, dropped, moved in and picked from as Windows' combo box is.

import { post } from "./events.js";
import { itemHeight, itemName, itemPixels } from "./program.js";
import { EventKind, Win } from "./protocol.js";

export const FieldHeight = 21;  // a closed list's box, as the desktop editor's
const DropButtonWidth = 12;
const Keys = { ArrowUp: Win.VK_UP, ArrowDown: Win.VK_DOWN, Home: Win.VK_HOME, End: Win.VK_END, PageUp: Win.VK_PRIOR,
               PageDown: Win.VK_NEXT };

// The owner draws the item, filling its rectangle first: where the box or row is taller than
// the item (on a touch screen), the space around it takes that colour, its first pixel's.
function drawItem(canvas, window, index, state) {
  const width = canvas.width, height = canvas.height;
  const pixels = itemPixels(window, index, state, width, height);
  canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
  canvas.parentElement.style.backgroundColor = `rgb(${pixels[0]}, ${pixels[1]}, ${pixels[2]})`;
}

// The box of the combo box window with control id id, width pixels wide (placeCombo puts it).
export function createCombo(window, id, width) {
  const box = document.createElement("div");
  box.className = "combo";
  box.id = "ctl-" + id;
  box.setAttribute("role", "combobox");
  box.setAttribute("aria-expanded", "false");
  box.setAttribute("aria-haspopup", "listbox");
  box.setAttribute("aria-controls", box.id + "-list");
  const face = document.createElement("canvas");
  face.className = "face";
  face.width = width - DropButtonWidth;
  face.height = FieldHeight;
  const drop = document.createElement("span");
  drop.className = "drop";
  drop.setAttribute("aria-hidden", "true");
  // The current item's name, unseen, for screen readers: the box's value (the face is pixels).
  const value = document.createElement("span");
  value.className = "value";
  box.append(face, value, drop);
  const list = document.createElement("div");
  list.className = "list";
  list.id = box.id + "-list";
  list.setAttribute("role", "listbox");
  list.hidden = true;
  list.style.width = width + "px";
  const record = { kind: "combo", element: box, face, value, list, count: 0, selection: -1, redraw: true, open: false,
                   hot: -1, rows: [], width, rowTarget: 0 };
  box.addEventListener("mousedown", (event) => {
    event.preventDefault();
    box.focus();
    if (record.open) closeList(window, record, false);
    else openList(window, record);
  });
  box.addEventListener("keydown", (event) => comboKey(window, record, event));
  // A dropped list closes when the box loses the focus, as on Windows (a click elsewhere).
  box.addEventListener("blur", () => closeList(window, record, false));
  list.addEventListener("mousedown", (event) => event.preventDefault());  // the focus stays on the box
  list.addEventListener("mousemove", (event) => {
    const row = event.target.closest("[role=option]");
    if (row) setHot(window, record, Number(row.dataset.index));
  });
  list.addEventListener("click", (event) => {
    const row = event.target.closest("[role=option]");
    if (row) pick(window, record, Number(row.dataset.index));
  });
  return record;
}

// The box where the template has the control (its height, the dropped list's, is the list's
// reach below the box), its rows stretched by rows (the face drawn at its own height in the
// middle of a taller box) and the list's rows target pixels high at least.
export function placeCombo(record, { rows, target }) {
  const { x, y, height } = record.area;
  const top = Math.round(y * rows);
  const box = FieldHeight + 2 * Math.ceil((FieldHeight * rows - FieldHeight) / 2);
  record.element.style.height = box + "px";
  record.list.style.left = x + "px";
  record.list.style.top = top + box + "px";
  record.list.style.maxHeight = Math.round((height - FieldHeight) * rows) + "px";
  record.rowTarget = target;
}

// A row of item height pixels, at least target high with the item in its middle.
const rowHeight = (height, target) => height + 2 * Math.max(0, Math.ceil((target - height) / 2));

function paintFace(window, record) {
  if (!record.redraw) return;
  if (record.selection < 0) {
    const context = record.face.getContext("2d");
    context.fillStyle = "#fff";
    context.fillRect(0, 0, record.face.width, record.face.height);
    record.element.style.backgroundColor = "";
    return;
  }
  drawItem(record.face, window, record.selection, Win.ODS_COMBOBOXEDIT);
}

function openList(window, record) {
  if (record.open || record.count === 0) return;
  record.open = true;
  post({ kind: EventKind.Drop, window });
  const list = record.list;
  list.textContent = "";
  record.rows = [];
  let top = 0;
  for (let i = 0; i < record.count; ++i) {
    const row = document.createElement("div");
    row.setAttribute("role", "option");
    row.id = record.element.id + "-item-" + i;
    row.dataset.index = i;
    row.setAttribute("aria-label", itemName(window, i));
    row.setAttribute("aria-selected", i === record.selection ? "true" : "false");
    const canvas = document.createElement("canvas");
    canvas.width = record.width;
    canvas.height = itemHeight(window, i);
    const height = rowHeight(canvas.height, record.rowTarget);
    row.style.height = height + "px";
    row.append(canvas);
    list.append(row);
    record.rows.push({ row, canvas, top, height });
    top += height;
  }
  record.hot = record.selection;
  for (let i = 0; i < record.count; ++i) paintRow(window, record, i);
  list.hidden = false;
  // As Windows drops a list: the selected item in the top row, as far as the list reaches.
  if (record.selection >= 0) list.scrollTop = record.rows[record.selection].top;
  record.element.setAttribute("aria-expanded", "true");
  if (record.hot >= 0) record.element.setAttribute("aria-activedescendant", record.rows[record.hot].row.id);
}

function paintRow(window, record, index) {
  drawItem(record.rows[index].canvas, window, index, index === record.hot ? Win.ODS_SELECTED : 0);
}

function setHot(window, record, index) {
  if (index === record.hot || index < 0 || index >= record.count) return;
  const before = record.hot;
  record.hot = index;
  if (before >= 0) paintRow(window, record, before);
  paintRow(window, record, index);
  const { row, top, height } = record.rows[index];
  const list = record.list;
  if (top < list.scrollTop) list.scrollTop = top;
  else if (top + height > list.scrollTop + list.clientHeight) list.scrollTop = top + height - list.clientHeight;
  record.element.setAttribute("aria-activedescendant", row.id);
}

function closeList(window, record, picked) {
  if (!record.open) return;
  record.open = false;
  record.list.hidden = true;
  record.list.textContent = "";
  record.rows = [];
  record.element.setAttribute("aria-expanded", "false");
  record.element.removeAttribute("aria-activedescendant");
  if (!picked) post({ kind: EventKind.CloseList, window });
}

function pick(window, record, index) {
  closeList(window, record, true);
  post({ kind: EventKind.Pick, window, a: index });
}

function comboKey(window, record, event) {
  if (record.open) {
    const moves = { ArrowUp: -1, ArrowDown: 1, PageUp: -8, PageDown: 8 };
    if (event.key in moves)
      setHot(window, record, Math.max(0, Math.min(record.count - 1, record.hot + moves[event.key])));
    else if (event.key === "Home") setHot(window, record, 0);
    else if (event.key === "End") setHot(window, record, record.count - 1);
    else if (event.key === "Enter") {
      if (record.hot >= 0) pick(window, record, record.hot);
      else closeList(window, record, false);
    } else if (event.key === "Escape" || event.key === "Tab" || event.key === "F4") closeList(window, record, false);
    else return;
    if (event.key !== "Tab") event.preventDefault();
    event.stopPropagation();
    return;
  }
  if (event.key === "F4" || (event.altKey && (event.key === "ArrowDown" || event.key === "ArrowUp"))) {
    event.preventDefault();
    event.stopPropagation();
    openList(window, record);
    return;
  }
  if (event.key in Keys && !event.altKey && !event.ctrlKey) {
    event.preventDefault();
    post({ kind: EventKind.ListKey, window, a: Keys[event.key] });
  }
}

// What the program changed in the model's combo box.
export function itemsChanged(window, record, count) {
  record.count = count;
  if (count === 0) {  // emptied: no current item either
    record.selection = -1;
    record.value.textContent = "";
  }
  if (record.open) closeList(window, record, false);
}

export function selectionChanged(window, record, index) {
  record.selection = index;
  record.value.textContent = index >= 0 ? itemName(window, index) : "";
}

export function redrawChanged(record, on) {
  record.redraw = on;
}

// Many changes, one drawing once the program waits again; stillShown() says whether the box is
// still the window's when the frame comes.
export function repaint(window, record, stillShown) {
  if (record.painting) return;
  record.painting = true;
  requestAnimationFrame(() => {
    record.painting = false;
    if (stillShown()) paintFace(window, record);
  });
}
