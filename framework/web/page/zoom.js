// The zoom of the program's dialogs (the editor, its dialogs and message boxes): a whole
// number as the user picks it, or "fit": the editor as wide as the page has room for, in steps
// that keep each pixel of the game text on whole device pixels. In Fit every control, list row,
// menu entry and close box measures a finger at least, the dialogs' rows stretched where the
// zoom alone leaves them smaller.

import * as windows from "./windows.js";

const Finger = 24;  // CSS pixels: the least a target of a touch screen should measure
let chosen = "1";
let host = null;

// host: the element the editor is shown in, whose parent gives the room Fit fills.
export function configureZoom(element) {
  host = element;
  window.addEventListener("resize", () => chosen === "fit" && refit());
}

export function setZoom(value) {
  chosen = String(value);
  refit();
}

// Applies the zoom; Fit follows the room and the editor's width (called again once it shows).
export function refit() {
  let zoom = Number(chosen), target = 0;
  if (chosen === "fit") {
    const width = windows.mainWidth();
    if (!width || !host) return;
    const ratio = window.devicePixelRatio || 1, around = host.parentElement, style = getComputedStyle(around);
    const room = around.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight);
    zoom = Math.max(1, Math.floor(room * ratio / width)) / ratio;
    target = Math.ceil(Finger / zoom);
  }
  const root = document.documentElement.style;
  root.setProperty("--zoom", zoom);
  root.setProperty("--target", target + "px");
  const smallest = windows.smallestTarget();
  windows.setStretch(target && smallest ? Math.max(1, target / smallest) : 1, target);
}
