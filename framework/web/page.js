// The browser side of the web backend: the elements that show the window model's windows,
// and the queue of what the user does to them. The program (tavero.js) calls these functions
// when the model changes, and takes the queued events one at a time in its modal loops
// (framework/web/Events.cpp); the page never changes what the model holds by itself.
"use strict";

const TaveroPage = (() => {
  // The kinds of event, as Events.cpp reads them.
  const Event = {
    Command: 1, Pick: 2, Drop: 3, CloseList: 4, ListKey: 5, Type: 6, Caret: 7, Edited: 8, Focus: 9,
    Enter: 10, Escape: 11, Click: 12, Close: 13, AnswerGiven: 14, PageCommand: 15, OpenFile: 16,
  };
  const Keys = { ArrowUp: 0x26, ArrowDown: 0x28, Home: 0x24, End: 0x23, PageUp: 0x21, PageDown: 0x22 };
  const IDOK = 1, IDCANCEL = 2;
  const ODS_SELECTED = 0x0001, ODS_COMBOBOXEDIT = 0x1000;
  const SS_CENTER = 0x0001, BS_DEFPUSHBUTTON = 0x0001, ES_NUMBER = 0x2000, WS_DISABLED = 0x08000000;

  const queue = [];
  let wake = null;
  const windows = new Map();  // window handle -> what shows it
  const files = new Map();    // path -> { name, handle }
  let pendingChoice = 0;      // the file choice the page's <input> answers, if any
  let focusedWindow = 0;      // the window the program last gave the focus to
  const config = { loadCommand: 32771, mainId: "TAVERO", host: null, input: null, useFileSystemAccess: true };

  function post(event) {
    queue.push(event);
    if (wake) {
      const resume = wake;
      wake = null;
      resume();
    }
  }

  // ---- text between the page's UTF-16 and the model's UTF-8

  const encoder = new TextEncoder();
  const bytesBefore = (text, units) => encoder.encode(text.slice(0, units)).length;
  function unitsBefore(text, bytes) {
    let units = 0;
    while (units < text.length && bytesBefore(text, units + 1) <= bytes) ++units;
    return units;
  }

  // ---- elements

  function mnemonicLabel(element, text) {
    // "&File": the letter after & underlined, as Windows shows a mnemonic; "&&" is an "&".
    element.textContent = "";
    let key = null;
    for (let i = 0; i < text.length; ++i) {
      if (text[i] === "&" && i + 1 < text.length) {
        ++i;
        if (text[i] !== "&" && key === null) {
          key = text[i];
          const u = document.createElement("u");
          u.textContent = text[i];
          element.append(u);
          continue;
        }
      }
      element.append(text[i]);
    }
    return key;
  }

  function drawItem(canvas, window, index, state) {
    const width = canvas.width, height = canvas.height;
    const pointer = Module._tavero_draw_item(window, index, state, width, height);
    const pixels = new Uint8ClampedArray(Module.HEAPU8.buffer, pointer, width * height * 4).slice();
    canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
  }

  function createDialog(window, main, templateId, caption, width, height, menu) {
    const element = document.createElement(main ? "div" : "dialog");
    element.className = "window";
    element.id = main ? config.mainId : "dialog-" + templateId;
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
    close.addEventListener("click", () => post({ kind: Event.Close, window }));
    bar.append(title, close);
    element.append(bar);
    const record = { kind: "dialog", element, title, main, controls: [], menu: null };
    if (menu.length) element.append(createMenubar(window, record, menu));
    const client = document.createElement("div");
    client.className = "client";
    client.style.width = width + "px";
    client.style.height = height + "px";
    element.append(client);
    record.client = client;
    element.addEventListener("keydown", (event) => dialogKey(window, record, event));
    if (!main) {
      // Escape on a <dialog>: the program decides, as Escape in any dialog.
      element.addEventListener("cancel", (event) => {
        event.preventDefault();
        post({ kind: Event.Escape, window });
      });
    }
    (main ? config.host : document.body).append(element);
    windows.set(window, record);
  }

  function createMenubar(window, dialog, items) {
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
    const command = (button, id) => {
      button.dataset.command = id;
      button.addEventListener("click", () => {
        closeMenus(dialog);
        post({ kind: Event.Command, window, a: id });
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
        command(button, item.id);
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
        command(entry, inner.id);
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

  // Keys on a menu bar item that has the focus (no popup open).
  function menubarKey(dialog, event) {
    const item = dialog.menu.top.find((candidate) => candidate.button === event.target);
    if (event.key === "ArrowLeft" || event.key === "ArrowRight") moveInMenubar(dialog, event.key === "ArrowRight" ? 1 : -1);
    else if (event.key === "Escape" || event.key === "F10") closeMenus(dialog);
    else if (item && item.entry && (event.key === "ArrowDown" || event.key === "Enter" || event.key === " ")) openMenu(dialog, item.entry);
    else return false;
    event.preventDefault();
    event.stopPropagation();
    return true;
  }

  // metrics: a drop-down list's, from the program's window model (boxHeight, buttonWidth, listHeight).
  function createControl(window, dialog, kind, id, x, y, width, height, style, text, tabStop, metrics) {
    const owner = windows.get(dialog);
    const place = (element, h) => {
      element.style.left = x + "px";
      element.style.top = y + "px";
      element.style.width = width + "px";
      element.style.height = h + "px";
    };
    let record;
    if (kind === 0) record = createCombo(window, id, width, metrics, place);
    else if (kind === 1) {
      const input = document.createElement("input");
      input.className = "edit";
      input.id = "ctl-" + id;
      input.type = "text";
      input.autocomplete = "off";
      input.spellcheck = false;
      if (style & ES_NUMBER) input.inputMode = "numeric";
      place(input, height);
      record = { kind: "edit", element: input, start: 0, end: 0 };
      wireEdit(window, record);
    } else if (kind === 3) {
      const button = document.createElement("button");
      button.className = "button" + ((style & 0x0f) === BS_DEFPUSHBUTTON ? " default" : "");
      button.id = "ctl-" + id;
      button.dataset.id = id;
      button.textContent = text;
      place(button, height);
      button.addEventListener("click", () => post({ kind: Event.Click, window }));
      record = { kind: "button", element: button };
    } else {
      const label = document.createElement("span");
      label.className = "static" + (style & SS_CENTER ? " centre" : "");
      label.id = "static-" + dialog + "-" + owner.controls.length;
      label.textContent = text;
      place(label, height);
      record = { kind: "static", element: label };
    }
    const focusable = record.focusElement || record.element;
    record.tabStop = tabStop;
    if (kind !== 2) focusable.tabIndex = tabStop ? 0 : -1;
    if (style & WS_DISABLED) showEnabled(record, false);
    focusable.addEventListener("focus", () => post({ kind: Event.Focus, window }));
    record.area = { x, y, width, height };
    owner.client.append(record.element);
    if (record.list) owner.client.append(record.list);
    owner.controls.push(window);
    windows.set(window, record);
  }

  // A disabled control: greyed, out of the tab order, taking no input (the model refuses it too).
  function showEnabled(record, enabled) {
    record.disabled = !enabled;
    if (record.kind === "edit" || record.kind === "button") record.element.disabled = !enabled;
    if (record.kind !== "combo") return;
    record.element.classList.toggle("disabled", !enabled);
    record.element.setAttribute("aria-disabled", String(!enabled));
    record.element.tabIndex = enabled && record.tabStop ? 0 : -1;
    if (!enabled && document.activeElement === record.element) record.element.blur();
  }

  // ---- the owner-drawn drop-down list

  function createCombo(window, id, width, metrics, place) {
    const FieldHeight = metrics.boxHeight;
    const box = document.createElement("div");
    box.className = "combo";
    box.id = "ctl-" + id;
    box.setAttribute("role", "combobox");
    box.setAttribute("aria-expanded", "false");
    box.setAttribute("aria-haspopup", "listbox");
    box.setAttribute("aria-controls", box.id + "-list");
    place(box, FieldHeight);
    const face = document.createElement("canvas");
    face.className = "face";
    face.width = width - metrics.buttonWidth;
    face.height = FieldHeight;
    const drop = document.createElement("span");
    drop.className = "drop";
    drop.setAttribute("aria-hidden", "true");
    drop.style.width = metrics.buttonWidth + "px";
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
    list.style.maxHeight = metrics.listHeight + "px";
    const record = { kind: "combo", element: box, face, value, list, count: 0, selection: -1, redraw: true, open: false, hot: -1,
                     rows: [], width, top: 0, fieldHeight: FieldHeight };
    box.addEventListener("mousedown", (event) => {
      event.preventDefault();
      if (record.disabled) return;
      box.focus();
      record.open ? closeList(window, record, false) : openList(window, record);
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

  function paintFace(window, record) {
    if (!record.redraw) return;
    if (record.selection < 0) {
      const context = record.face.getContext("2d");
      context.fillStyle = "#fff";
      context.fillRect(0, 0, record.face.width, record.face.height);
      return;
    }
    drawItem(record.face, window, record.selection, ODS_COMBOBOXEDIT);
  }

  function openList(window, record) {
    if (record.open || record.count === 0) return;
    record.open = true;
    post({ kind: Event.Drop, window });
    const list = record.list;
    list.textContent = "";
    record.rows = [];
    let top = 0;
    for (let i = 0; i < record.count; ++i) {
      const row = document.createElement("div");
      row.setAttribute("role", "option");
      row.id = record.element.id + "-item-" + i;
      row.dataset.index = i;
      row.setAttribute("aria-label", Module.UTF8ToString(Module._tavero_item_name(window, i)));
      row.setAttribute("aria-selected", i === record.selection ? "true" : "false");
      const canvas = document.createElement("canvas");
      canvas.width = record.width;
      canvas.height = Module._tavero_item_height(window, i);
      row.append(canvas);
      list.append(row);
      record.rows.push({ row, canvas, top });
      top += canvas.height;
    }
    record.hot = record.selection;
    for (let i = 0; i < record.count; ++i) paintRow(window, record, i);
    list.hidden = false;
    list.style.left = record.element.style.left;
    list.style.top = parseInt(record.element.style.top, 10) + record.fieldHeight + "px";
    // As Windows drops a list: the selected item in the top row, as far as the list reaches.
    if (record.selection >= 0) list.scrollTop = record.rows[record.selection].top;
    record.element.setAttribute("aria-expanded", "true");
    if (record.hot >= 0) record.element.setAttribute("aria-activedescendant", record.rows[record.hot].row.id);
  }

  function paintRow(window, record, index) {
    const state = index === record.hot ? ODS_SELECTED : 0;
    drawItem(record.rows[index].canvas, window, index, state);
  }

  function setHot(window, record, index) {
    if (index === record.hot || index < 0 || index >= record.count) return;
    const before = record.hot;
    record.hot = index;
    if (before >= 0) paintRow(window, record, before);
    paintRow(window, record, index);
    const { row, top } = record.rows[index];
    const list = record.list;
    if (top < list.scrollTop) list.scrollTop = top;
    else if (top + row.offsetHeight > list.scrollTop + list.clientHeight)
      list.scrollTop = top + row.offsetHeight - list.clientHeight;
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
    if (!picked) post({ kind: Event.CloseList, window });
  }

  function pick(window, record, index) {
    closeList(window, record, true);
    post({ kind: Event.Pick, window, a: index });
  }

  function comboKey(window, record, event) {
    if (record.disabled) return;
    if (record.open) {
      const page = Module._tavero_list_page_rows(window) - 1;  // a page on, the row at the edge staying in view
      const moves = { ArrowUp: -1, ArrowDown: 1, PageUp: -page, PageDown: page };
      if (event.key in moves) setHot(window, record, Math.max(0, Math.min(record.count - 1, record.hot + moves[event.key])));
      else if (event.key === "Home") setHot(window, record, 0);
      else if (event.key === "End") setHot(window, record, record.count - 1);
      else if (event.key === "Enter") record.hot >= 0 ? pick(window, record, record.hot) : closeList(window, record, false);
      else if (event.key === "Escape" || event.key === "Tab" || event.key === "F4") closeList(window, record, false);
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
      post({ kind: Event.ListKey, window, a: Keys[event.key] });
    }
  }

  // ---- the edit

  function wireEdit(window, record) {
    const input = record.element;
    const caret = () => {
      const text = input.value;
      const start = bytesBefore(text, input.selectionStart), end = bytesBefore(text, input.selectionEnd);
      if (start === record.start && end === record.end) return;
      record.start = start;
      record.end = end;
      post({ kind: Event.Caret, window, a: start, b: end });
    };
    input.addEventListener("keydown", (event) => {
      if (event.ctrlKey || event.altKey || event.metaKey) return;
      if (event.key === "Backspace") {
        event.preventDefault();
        post({ kind: Event.Type, window, a: 8 });
      } else if (event.key.length === 1) {
        event.preventDefault();  // the model decides what a typed key does (an ES_NUMBER field refuses letters)
        for (const byte of encoder.encode(event.key)) post({ kind: Event.Type, window, a: byte });
      }
    });
    // The field's own edits (Delete, a paste, a cut, an undo): the model takes the whole text.
    input.addEventListener("input", () => {
      const text = input.value;
      record.start = bytesBefore(text, input.selectionStart);
      record.end = bytesBefore(text, input.selectionEnd);
      post({ kind: Event.Edited, window, a: record.start, b: record.end, text });
    });
    for (const name of ["select", "keyup", "mouseup", "focus"]) input.addEventListener(name, caret);
  }

  // ---- keys of a dialog: Enter and Escape as the dialog manager takes them, menu mnemonics

  function dialogKey(window, dialog, event) {
    if (dialog.openMenu) {
      menuKey(dialog, event);
      return;
    }
    if (dialog.menu && dialog.menu.bar.contains(event.target) && menubarKey(dialog, event)) return;
    if (event.key === "F10" && dialog.menu && !event.altKey) {
      event.preventDefault();
      dialog.menuReturn = document.activeElement;
      dialog.menu.top[0].button.focus();
      return;
    }
    if (event.altKey && dialog.menu && event.key.length === 1) {
      const entry = dialog.menu.popups.find((candidate) => candidate.key === event.key.toLowerCase());
      if (entry) {
        event.preventDefault();
        openMenu(dialog, entry);
      }
      return;
    }
    if (event.key === "Enter" && !(event.target instanceof HTMLButtonElement)) {
      event.preventDefault();
      post({ kind: Event.Enter, window });
    } else if (event.key === "Escape") {
      event.preventDefault();
      post({ kind: Event.Escape, window });
    }
  }

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

  // ---- message boxes

  // The buttons ([id, label] left to right), the default and the Escape button (0: none) as the
  // program's window model gives them for the box's type.
  function messageBox(request, caption, text, buttons, defaultId, escape, warning) {
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
    const row = document.createElement("div");
    row.className = "buttons";
    const keys = {};
    const answer = (id) => {
      box.close();
      box.remove();
      post({ kind: Event.AnswerGiven, a: request, b: id });
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
    row.querySelector(`button[data-id="${defaultId}"]`).focus();
  }

  // ---- files

  async function storeFile(file, handle) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const path = file.name;  // the name the user knows it by, as messages show it
    const pointer = Module._malloc(Math.max(bytes.length, 1));
    Module.HEAPU8.set(bytes, pointer);
    const pathBytes = Module.lengthBytesUTF8(path) + 1;
    const pathPointer = Module._malloc(pathBytes);
    Module.stringToUTF8(path, pathPointer, pathBytes);
    Module._tavero_store_file(pathPointer, pointer, bytes.length);
    Module._free(pathPointer);
    Module._free(pointer);
    files.set(path, { name: file.name, handle });
    return path;
  }

  // "SNES ROM Files (*.smc;*.fig;*.sfc)|*.smc;*.fig;*.sfc|..." as the picker's types.
  function pickerTypes(filter) {
    const parts = filter.split("|");
    const types = [];
    for (let i = 0; i + 1 < parts.length; i += 2) {
      if (!parts[i]) break;
      const extensions = parts[i + 1].split(";").map((pattern) => pattern.replace("*", "")).filter((e) => e !== ".*");
      if (extensions.length) types.push({ description: parts[i].replace(/\s*\(.*\)$/, ""), accept: { "application/octet-stream": extensions } });
    }
    return types;
  }

  async function chooseFile(request, filter) {
    if (config.useFileSystemAccess && window.showOpenFilePicker) {
      try {
        const [handle] = await window.showOpenFilePicker({ types: pickerTypes(filter), excludeAcceptAllOption: false, multiple: false });
        const path = await storeFile(await handle.getFile(), handle);
        post({ kind: Event.AnswerGiven, a: request, b: IDOK, text: path });
      } catch (error) {
        post({ kind: Event.AnswerGiven, a: request, b: IDCANCEL });
      }
      return;
    }
    pendingChoice = request;
    config.input.value = "";
    config.input.click();
  }

  async function fileGiven(file) {
    const path = await storeFile(file, null);
    if (pendingChoice) {
      const request = pendingChoice;
      pendingChoice = 0;
      post({ kind: Event.AnswerGiven, a: request, b: IDOK, text: path });
    } else {
      post({ kind: Event.OpenFile, a: config.loadCommand, text: path });  // as Load with this file
    }
  }

  async function saveFile(path, bytes) {
    const file = files.get(path);
    if (file && file.handle) {
      try {
        const options = { mode: "readwrite" };
        if ((await file.handle.queryPermission(options)) !== "granted" &&
            (await file.handle.requestPermission(options)) !== "granted")
          return "the browser was not given permission to write it";
        const writable = await file.handle.createWritable();
        await writable.write(bytes);
        await writable.close();
        return "";
      } catch (error) {
        return error.message || String(error);
      }
    }
    download(file ? file.name : path.split("/").pop(), bytes, "application/octet-stream");
    return "";
  }

  function download(name, bytes, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  // ---- what the program calls

  return {
    Event,
    configure(options) {
      Object.assign(config, options);
      config.input.addEventListener("change", () => {
        if (!config.input.files.length) return;
        const file = config.input.files[0];
        config.input.value = "";  // else the same file chosen again is no change, and not loaded
        fileGiven(file);
      });
      config.input.addEventListener("cancel", () => {
        if (!pendingChoice) return;
        const request = pendingChoice;
        pendingChoice = 0;
        post({ kind: Event.AnswerGiven, a: request, b: IDCANCEL });
      });
    },
    post,
    openFile: fileGiven,
    pageCommand: (name) => post({ kind: Event.PageCommand, text: name }),
    async waitForEvent() {
      while (queue.length === 0) await new Promise((resume) => (wake = resume));
    },
    takeEvent: () => queue.shift(),

    createDialog,
    createControl,
    dialogText(window, text) {
      const record = windows.get(window);
      record.title.textContent = text;
      record.element.setAttribute("aria-label", text);
    },
    showDialog(window) {
      const record = windows.get(window);
      labelControls(record);
      if (record.main) return;
      record.element.showModal();
      // The program gave the focus to a control while the dialog was hidden; showModal would
      // put it on the first focusable element, the caption's close box.
      const focused = windows.get(focusedWindow);
      if (record.controls.includes(focusedWindow) && focused) (focused.focusElement || focused.element).focus();
    },
    endDialog(window) {
      const record = windows.get(window);
      if (record && !record.main && record.element.open) record.element.close();
    },
    destroyDialog(window) {
      const record = windows.get(window);
      if (!record) return;
      for (const control of record.controls) windows.delete(control);
      windows.delete(window);
      if (!record.main) record.element.remove();
    },
    itemsChanged(window, count) {
      const record = windows.get(window);
      record.count = count;
      if (count === 0) {  // emptied: no current item either
        record.selection = -1;
        record.value.textContent = "";
      }
      if (record.open) closeList(window, record, false);
    },
    selectionChanged(window, index) {
      const record = windows.get(window);
      record.selection = index;
      record.value.textContent = index >= 0 ? Module.UTF8ToString(Module._tavero_item_name(window, index)) : "";
    },
    textChanged(window, text, start, end) {
      const record = windows.get(window);
      if (record.kind !== "edit") {
        record.element.textContent = text;
        return;
      }
      const input = record.element;
      if (input.value !== text) input.value = text;
      record.start = start;
      record.end = end;
      input.setSelectionRange(unitsBefore(text, start), unitsBefore(text, end));
    },
    enabledChanged(window, enabled) {
      showEnabled(windows.get(window), enabled);
    },
    redrawChanged(window, on) {
      windows.get(window).redraw = on;
    },
    repaint(window) {
      const record = windows.get(window);
      if (record.kind !== "combo" || record.painting) return;
      record.painting = true;  // many changes, one drawing once the program waits again
      requestAnimationFrame(() => {
        record.painting = false;
        if (windows.get(window) === record) paintFace(window, record);
      });
    },
    focus(window) {
      focusedWindow = window;
      const record = windows.get(window);
      if (record) (record.focusElement || record.element).focus();
    },
    messageBox,
    chooseFile,
    saveFile,
    download,
    programEnded() {
      const main = document.getElementById(config.mainId);
      if (main) main.classList.add("ended");
      document.dispatchEvent(new CustomEvent("tavero-ended"));
    },
  };

  // Each box and field is named by the labels before it on its row ("Spell #1:", "x").
  function labelControls(dialog) {
    const records = dialog.controls.map((window) => windows.get(window));
    const labels = records.filter((record) => record.kind === "static");
    for (const record of records) {
      if (record.kind !== "combo" && record.kind !== "edit") continue;
      const middle = record.area.y + 10;
      const before = labels
        .filter((label) => label.area.y <= middle && middle < label.area.y + Math.max(label.area.height, 14) + 4 &&
                           label.area.x < record.area.x)
        .sort((a, b) => a.area.x - b.area.x);
      if (before.length) record.element.setAttribute("aria-labelledby", before.map((label) => label.element.id).join(" "));
    }
  }
})();
