// The program's message boxes (and the page's own, about the page): a modal <dialog> captioned
// as the program's others, its buttons chosen by the MB_ type, answered by a click, a mnemonic,
// Enter on the focused button or Escape, as Windows answers a MessageBox.

import { Win } from "./protocol.js";
import { mnemonicLabel } from "./text.js";

const Buttons = {
  [Win.MB_OK]: [[Win.IDOK, "OK"]],
  [Win.MB_YESNOCANCEL]: [[Win.IDYES, "&Yes"], [Win.IDNO, "&No"], [Win.IDCANCEL, "Cancel"]],
};

let boxes = 0;

// answered(id) takes the button's id once the box is answered. With choices (labels), the box
// lists them as buttons above Cancel: answered(IDOK, index) takes the one picked.
export function messageBox(caption, text, type, answered, choices = []) {
  const buttons = choices.length ? [[Win.IDCANCEL, "Cancel"]] : Buttons[type & Win.MB_TYPEMASK] || Buttons[Win.MB_OK];
  const box = document.createElement("dialog");
  box.className = "window message";
  box.setAttribute("role", "alertdialog");
  box.setAttribute("aria-modal", "true");
  box.id = "message-" + ++boxes;
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
  const answer = (id, choice) => {
    box.close();
    box.remove();
    answered(id, choice);
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
  box.append(bar, body, ...(choices.length ? [list] : []), row);
  document.body.append(box);
  box.showModal();
  box.querySelector("button").focus();  // the first choice, or the first button: the default
}
