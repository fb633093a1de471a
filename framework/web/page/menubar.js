// A dialog's menu bar: popups of commands opened by the mouse, F10, Alt and a mnemonic, moved
// in with the arrows and closed with Escape, as Windows' menus are. A command goes to the
// program as the dialog's WM_COMMAND.

import { post } from "./events.js";
import { EventKind } from "./protocol.js";
import { mnemonicLabel } from "./text.js";

// The bar of items (the menu template: [{text, items: [...]}, {text, id, name}, {separator}];
// name, what a screen reader calls a command, where the program gives one) for the dialog
// record, which holds the menu's state from then on.
export function createMenubar(window, dialog, items) {
  const bar = document.createElement("div");
  bar.className = "menubar";
  bar.setAttribute("role", "menubar");
  bar.setAttribute("aria-label", "Menu");
  dialog.menu = { bar, popups: [], top: [] };
  // A click on the menu leaves the focus where it is, as on Windows; a click elsewhere
  // closes an open menu.
  bar.addEventListener("mousedown", (event) => event.preventDefault());
  bar.addEventListener("focusout", (event) => {
    if ((dialog.openMenu || dialog.menuReturn) && !bar.contains(event.relatedTarget)) {
      hideMenus(dialog);
      dialog.menuReturn = null;
    }
  });
  const command = (button, { id, name }) => {
    button.dataset.command = id;
    if (name) button.setAttribute("aria-label", name);
    button.addEventListener("click", () => {
      closeMenus(dialog);
      post({ kind: EventKind.Command, window, a: id });
    });
  };
  for (const item of items) {
    const button = document.createElement("button");
    button.setAttribute("role", "menuitem");
    button.tabIndex = -1;
    const key = mnemonicLabel(button, item.text);
    if (key) button.setAttribute("aria-keyshortcuts", "Alt+" + key.toUpperCase());
    bar.append(button);
    if (!item.items) {
      command(button, item);
      dialog.menu.top.push({ button, entry: null });
      continue;
    }
    const popup = document.createElement("div");
    popup.className = "menu";
    popup.setAttribute("role", "menu");
    popup.hidden = true;
    button.setAttribute("aria-haspopup", "menu");
    button.setAttribute("aria-expanded", "false");
    for (const inner of item.items) {
      if (inner.separator) {
        const line = document.createElement("div");
        line.setAttribute("role", "separator");
        popup.append(line);
        continue;
      }
      const entry = document.createElement("button");
      entry.setAttribute("role", "menuitem");
      entry.tabIndex = -1;
      const innerKey = mnemonicLabel(entry, inner.text);
      if (innerKey) entry.dataset.key = innerKey.toLowerCase();
      command(entry, inner);
      popup.append(entry);
    }
    const entry = { button, popup, key: key && key.toLowerCase() };
    dialog.menu.popups.push(entry);
    dialog.menu.top.push({ button, entry });
    button.addEventListener("click", () => (popup.hidden ? openMenu(dialog, entry) : closeMenus(dialog)));
    bar.append(popup);
  }
  return bar;
}

function openMenu(dialog, entry) {
  const returnTo = dialog.menuReturn || document.activeElement;
  hideMenus(dialog);
  dialog.menuReturn = returnTo;
  entry.popup.hidden = false;
  entry.button.setAttribute("aria-expanded", "true");
  dialog.openMenu = entry;
  const first = entry.popup.querySelector("button");
  if (first) first.focus();
}

function hideMenus(dialog) {
  if (!dialog.menu) return;
  for (const entry of dialog.menu.popups) {
    entry.popup.hidden = true;
    entry.button.setAttribute("aria-expanded", "false");
  }
  dialog.openMenu = null;
}

// A menu closed by a command or Escape gives the focus back to the control that had it, as
// on Windows; the keys of the dialog would otherwise go nowhere.
function closeMenus(dialog) {
  const inMenu = dialog.openMenu || (dialog.menu && dialog.menu.bar.contains(document.activeElement));
  hideMenus(dialog);
  if (inMenu && dialog.menuReturn && dialog.menuReturn.isConnected) dialog.menuReturn.focus();
  dialog.menuReturn = null;
}

// Left and Right move along the menu bar, as on Windows: onto a popup, it opens; onto a
// command ("5->6"), it takes the focus, and Enter runs it.
function moveInMenubar(dialog, step) {
  const top = dialog.menu.top;
  const from = dialog.openMenu ? dialog.openMenu.button : document.activeElement;
  const at = top.findIndex((item) => item.button === from);
  const next = top[(Math.max(at, 0) + step + top.length) % top.length];
  if (!dialog.menuReturn) dialog.menuReturn = document.activeElement;
  if (next.entry) {
    openMenu(dialog, next.entry);
    return;
  }
  hideMenus(dialog);
  next.button.focus();
}

// Keys on a menu bar item that has the focus (no popup open); true when the key was the menu's.
function menubarKey(dialog, event) {
  const item = dialog.menu.top.find((candidate) => candidate.button === event.target);
  if (event.key === "ArrowLeft" || event.key === "ArrowRight")
    moveInMenubar(dialog, event.key === "ArrowRight" ? 1 : -1);
  else if (event.key === "Escape" || event.key === "F10") closeMenus(dialog);
  else if (item && item.entry && (event.key === "ArrowDown" || event.key === "Enter" || event.key === " "))
    openMenu(dialog, item.entry);
  else return false;
  event.preventDefault();
  event.stopPropagation();
  return true;
}

// Keys while a popup is open.
function menuKey(dialog, event) {
  const items = [...dialog.openMenu.popup.querySelectorAll("button")];
  const at = items.indexOf(document.activeElement);
  if (event.key === "ArrowDown" || event.key === "ArrowUp") {
    const step = event.key === "ArrowDown" ? 1 : -1;
    items[(at + step + items.length) % items.length].focus();
  } else if (event.key === "ArrowLeft" || event.key === "ArrowRight") {
    moveInMenubar(dialog, event.key === "ArrowRight" ? 1 : -1);
  } else if (event.key === "Escape") {
    closeMenus(dialog);
  } else if (event.key === "Enter" && at >= 0) {
    items[at].click();
  } else {
    const entry = items.find((item) => item.dataset.key === event.key.toLowerCase());
    if (!entry) return;
    entry.click();
  }
  event.preventDefault();
  event.stopPropagation();
}

// A key in the dialog that the menu takes (open popup, menu bar focused, F10, Alt+letter):
// true when it took it.
export function menuTakesKey(dialog, event) {
  if (dialog.openMenu) {
    menuKey(dialog, event);
    return true;
  }
  if (!dialog.menu) return false;
  if (dialog.menu.bar.contains(event.target) && menubarKey(dialog, event)) return true;
  if (event.key === "F10" && !event.altKey) {
    event.preventDefault();
    dialog.menuReturn = document.activeElement;
    dialog.menu.top[0].button.focus();
    return true;
  }
  if (event.altKey && event.key.length === 1) {
    const entry = dialog.menu.popups.find((candidate) => candidate.key === event.key.toLowerCase());
    if (entry) {
      event.preventDefault();
      openMenu(dialog, entry);
    }
    return true;
  }
  return false;
}
