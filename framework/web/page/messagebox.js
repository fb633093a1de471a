// The program's message boxes: a modal <dialog> captioned as the program's others, its buttons
// chosen by the MB_ type, answered by a click, a mnemonic, Enter on the focused button or
// Escape, as Windows answers a MessageBox.

import { post } from "./events.js";
import { EventKind, Win } from "./protocol.js";
import { mnemonicLabel } from "./text.js";

const Buttons = {
  [Win.MB_OK]: [[Win.IDOK, "OK"]],
  [Win.MB_YESNOCANCEL]: [[Win.IDYES, "&Yes"], [Win.IDNO, "&No"], [Win.IDCANCEL, "Cancel"]],
};

export function messageBox(request, caption, text, type) {
  const buttons = Buttons[type & Win.MB_TYPEMASK] || Buttons[Win.MB_OK];
  const box = document.createElement("dialog");
  box.className = "window message";
  box.setAttribute("role", "alertdialog");
  box.setAttribute("aria-modal", "true");
  box.id = "message-" + request;
  const bar = document.createElement("div");
  bar.className = "caption";
  bar.id = box.id + "-caption";
  bar.textContent = caption;
  const body = document.createElement("div");
  body.className = "message-body";
  if ((type & Win.MB_ICONMASK) === Win.MB_ICONWARNING) {
    const icon = document.createElement("span");
    icon.className = "icon warning";
    icon.setAttribute("aria-hidden", "true");
    icon.textContent = "!";
    body.append(icon);
  }
  const words = document.createElement("p");
  words.id = box.id + "-text";
  words.textContent = text;
  body.append(words);
  box.setAttribute("aria-labelledby", bar.id);
  box.setAttribute("aria-describedby", words.id);
  const row = document.createElement("div");
  row.className = "buttons";
  const keys = {};
  const answer = (id) => {
    box.close();
    box.remove();
    post({ kind: EventKind.AnswerGiven, a: request, b: id });
  };
  for (const [id, label] of buttons) {
    const button = document.createElement("button");
    button.className = "button";
    button.dataset.id = id;
    const key = mnemonicLabel(button, label);
    if (key) keys[key.toLowerCase()] = id;
    button.addEventListener("click", () => answer(id));
    row.append(button);
  }
  // Escape: Cancel where there is one; a box with OK alone answers OK, as Windows does.
  const escape = buttons.some(([id]) => id === Win.IDCANCEL) ? Win.IDCANCEL : buttons.length === 1 ? Win.IDOK : 0;
  box.addEventListener("cancel", (event) => {
    event.preventDefault();
    if (escape) answer(escape);
  });
  box.addEventListener("keydown", (event) => {
    const id = keys[event.key.toLowerCase()];
    if (id && !event.ctrlKey && !event.metaKey) {
      event.preventDefault();
      answer(id);
    }
  });
  box.append(bar, body, row);
  document.body.append(box);
  box.showModal();
  row.querySelector("button").focus();  // the first button is the default
}
