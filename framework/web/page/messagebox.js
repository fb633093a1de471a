// The program's message boxes: a modal <dialog> captioned as the program's others, its buttons
// chosen by the MB_ type, answered by a click, a mnemonic, Enter on the focused button or
// Escape, as Windows answers a MessageBox. The page's own boxes look the same.

import { post } from "./events.js";
import { EventKind, Win } from "./protocol.js";
import { mnemonicLabel } from "./text.js";

const Buttons = {
  [Win.MB_OK]: [[Win.IDOK, "OK"]],
  [Win.MB_YESNOCANCEL]: [[Win.IDYES, "&Yes"], [Win.IDNO, "&No"], [Win.IDCANCEL, "Cancel"]],
};

export function messageBox(request, caption, text, type) {
  const buttons = Buttons[type & Win.MB_TYPEMASK] || Buttons[Win.MB_OK];
  const warning = (type & Win.MB_ICONMASK) === Win.MB_ICONWARNING;
  openBox("message-" + request, caption, text, warning, buttons, [],
          (id) => post({ kind: EventKind.AnswerGiven, a: request, b: id }));
}

let pageBoxes = 0;

// A box of the page's own, captioned as the program's: a file the page refuses (OK), or the
// choices of which the user picks one (Cancel beside them). Resolves with the index of the
// choice picked, else -1.
export function pageBox(caption, text, choices = []) {
  const buttons = choices.length ? [[Win.IDCANCEL, "Cancel"]] : Buttons[Win.MB_OK];
  return new Promise((resolve) => openBox("page-box-" + ++pageBoxes, caption, text, !choices.length, buttons, choices,
                                          (id, choice) => resolve(choice === undefined ? -1 : choice)));
}

// buttons: [[id, label]] in a row, the first focused unless there are choices (a column of
// buttons above them, the first focused); answer(id, choice index) once, as the box closes.
function openBox(id, caption, text, warning, buttons, choices, answerWith) {
  const box = document.createElement("dialog");
  box.className = "window message";
  box.setAttribute("role", "alertdialog");
  box.setAttribute("aria-modal", "true");
  box.id = id;
  const bar = document.createElement("div");
  bar.className = "caption";
  bar.id = box.id + "-caption";
  bar.textContent = caption;
  const body = document.createElement("div");
  body.className = "message-body";
  if (warning) {
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
  const answer = (button, choice) => {
    box.close();
    box.remove();
    answerWith(button, choice);
  };
  const list = document.createElement("div");
  list.className = "choices";
  choices.forEach((label, index) => {
    const choice = document.createElement("button");
    choice.className = "button";
    choice.dataset.choice = index;
    choice.textContent = label;
    choice.addEventListener("click", () => answer(Win.IDOK, index));
    list.append(choice);
  });
  const row = document.createElement("div");
  row.className = "buttons";
  const keys = {};
  for (const [button, label] of buttons) {
    const element = document.createElement("button");
    element.className = "button";
    element.dataset.id = button;
    const key = mnemonicLabel(element, label);
    if (key) keys[key.toLowerCase()] = button;
    element.addEventListener("click", () => answer(button));
    row.append(element);
  }
  // Escape: Cancel where there is one; a box with OK alone answers OK, as Windows does.
  const escape = buttons.some(([button]) => button === Win.IDCANCEL) ? Win.IDCANCEL
    : buttons.length === 1 ? Win.IDOK : 0;
  box.addEventListener("cancel", (event) => {
    event.preventDefault();
    if (escape) answer(escape);
  });
  box.addEventListener("keydown", (event) => {
    const button = keys[event.key.toLowerCase()];
    if (button && !event.ctrlKey && !event.metaKey) {
      event.preventDefault();
      answer(button);
    }
  });
  box.append(bar, body);
  if (choices.length) box.append(list);
  box.append(row);
  document.body.append(box);
  box.showModal();
  box.querySelector("button").focus();  // the first choice, or the first button: the default
}
