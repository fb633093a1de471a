// The files the user gives the page: the open picker (the File System Access API's where the
// browser has it, else the page's file input), a file dropped or chosen outside a Load, and
// the way a save goes out (into the file through its handle, else a download).

import { post } from "./events.js";
import { storeFile } from "./program.js";
import { EventKind, Win } from "./protocol.js";

const files = new Map();  // path -> { name, handle }
let pendingChoice = 0;  // the file choice the page's <input> answers, if any
let input = null;
let useFileSystemAccess = true;

// The page's <input type="file"> and whether to use the browser's open picker where it has one.
export function configureFiles(options) {
  input = options.input;
  useFileSystemAccess = options.useFileSystemAccess;
  input.addEventListener("change", () => {
    if (!input.files.length) return;
    const file = input.files[0];
    input.value = "";  // else the same file chosen again is no change, and not loaded
    fileGiven(file);
  });
  input.addEventListener("cancel", () => {
    if (!pendingChoice) return;
    const request = pendingChoice;
    pendingChoice = 0;
    post({ kind: EventKind.AnswerGiven, a: request, b: Win.IDCANCEL });
  });
}

async function hold(file, handle) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  const path = file.name;  // the name the user knows it by, as messages show it
  storeFile(path, bytes);
  files.set(path, { name: file.name, handle });
  return path;
}

// "SNES ROM Files (*.smc;*.fig;*.sfc)|*.smc;*.fig;*.sfc|..." as the picker's types.
function pickerTypes(filter) {
  const parts = filter.split("|");
  const types = [];
  for (let i = 0; i + 1 < parts.length; i += 2) {
    if (!parts[i]) break;
    const extensions = parts[i + 1].split(";").map((pattern) => pattern.replace("*", ""))
      .filter((extension) => extension !== ".*");
    const description = parts[i].replace(/\s*\(.*\)$/, "");
    if (extensions.length) types.push({ description, accept: { "application/octet-stream": extensions } });
  }
  return types;
}

// The program's file choice (a Load): answered with the chosen file's path, or Cancel.
export async function chooseFile(request, filter) {
  if (useFileSystemAccess && window.showOpenFilePicker) {
    try {
      const [handle] = await window.showOpenFilePicker({ types: pickerTypes(filter), excludeAcceptAllOption: false,
                                                          multiple: false });
      const path = await hold(await handle.getFile(), handle);
      post({ kind: EventKind.AnswerGiven, a: request, b: Win.IDOK, text: path });
    } catch (error) {
      post({ kind: EventKind.AnswerGiven, a: request, b: Win.IDCANCEL });
    }
    return;
  }
  pendingChoice = request;
  input.value = "";
  input.click();
}

// A file the user gave the page: the answer to the file choice when one waits, else a Load of it.
export async function fileGiven(file) {
  const path = await hold(file, null);
  if (pendingChoice) {
    const request = pendingChoice;
    pendingChoice = 0;
    post({ kind: EventKind.AnswerGiven, a: request, b: Win.IDOK, text: path });
  } else {
    post({ kind: EventKind.OpenFile, text: path });
  }
}

// Writes bytes out as the page can; "" when done, else why not.
export async function saveFile(path, bytes) {
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

export function download(name, bytes, type) {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const link = document.createElement("a");
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}
