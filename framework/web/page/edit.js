// The edit field: the model decides what each typed key does (an ES_NUMBER field refuses
// letters), so keys go to the program as events and the field shows what the model holds.

import { post } from "./events.js";
import { EventKind, Win } from "./protocol.js";
import { bytesBefore, unitsBefore, utf8 } from "./text.js";

export function createEdit(window, id, style) {
  const input = document.createElement("input");
  input.className = "edit";
  input.id = "ctl-" + id;
  input.type = "text";
  input.autocomplete = "off";
  input.spellcheck = false;
  if (style & Win.ES_NUMBER) input.inputMode = "numeric";
  const record = { kind: "edit", element: input, start: 0, end: 0 };
  const caret = () => {
    const text = input.value;
    const start = bytesBefore(text, input.selectionStart), end = bytesBefore(text, input.selectionEnd);
    if (start === record.start && end === record.end) return;
    record.start = start;
    record.end = end;
    post({ kind: EventKind.Caret, window, a: start, b: end });
  };
  input.addEventListener("keydown", (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.key === "Backspace") {
      event.preventDefault();
      post({ kind: EventKind.Type, window, a: 8 });
    } else if (event.key.length === 1) {
      event.preventDefault();
      for (const byte of utf8(event.key)) post({ kind: EventKind.Type, window, a: byte });
    }
  });
  // The field's own edits (Delete, a paste, a cut, an undo): the model takes the whole text.
  input.addEventListener("input", () => {
    const text = input.value;
    record.start = bytesBefore(text, input.selectionStart);
    record.end = bytesBefore(text, input.selectionEnd);
    post({ kind: EventKind.Edited, window, a: record.start, b: record.end, text });
  });
  for (const name of ["select", "keyup", "mouseup", "focus"]) input.addEventListener(name, caret);
  return record;
}

// The model's text and selection (in UTF-8 bytes) shown.
export function showText(record, text, start, end) {
  const input = record.element;
  if (input.value !== text) input.value = text;
  record.start = start;
  record.end = end;
  input.setSelectionRange(unitsBefore(text, start), unitsBefore(text, end));
}
