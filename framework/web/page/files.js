// The files the user gives the page: the open picker (the File System Access API's where the
// browser has it, else the page's file input), a file dropped or chosen outside a Load, the
// image inside a .zip archive, and the way a save goes out (into the file through its handle,
// else a download).

import { post } from "./events.js";
import { messageBox } from "./messagebox.js";
import { storeFile } from "./program.js";
import { EventKind, Win } from "./protocol.js";
import { applicationName } from "./windows.js";
import { extract, imageEntries, isZip, readDirectory, ZipError } from "./zip.js";

const LargestImage = 64 << 20;  // bytes an archive's image may unpack to

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

// A box of the page's own, as the program's: resolves with the index of the choice picked, else -1.
const pageBox = (text, choices = []) => new Promise((resolve) => messageBox(
  applicationName(), text, Win.MB_OK, (id, choice) => resolve(choice === undefined ? -1 : choice), choices));

// The image the user gives as file: the file itself, or a file of the image inside it, named as
// that image, when it is a .zip archive (the user picks where it holds several). null when there
// is none to load: refused (the user is told why) or no pick made.
async function imageOf(file) {
  if (!(await isZip(file))) return file;
  try {
    const images = imageEntries(await readDirectory(file));
    if (!images.length) throw new ZipError("it holds no image (no .smc, .sfc or .fig file)");
    const pick = images.length === 1 ? 0
      : await pageBox(`${file.name} holds several images. Which one is to be loaded?`,
                      images.map((entry) => entry.name));
    if (pick < 0) return null;
    return new File([await extract(file, images[pick], LargestImage)], images[pick].name);
  } catch (error) {
    await pageBox(`Could not load ${file.name}:\n${error instanceof ZipError ? error.message : error}`);
    return null;
  }
}

// Hands the image the user gave to the program: its path there, or "" when there is none.
async function hold(file, handle) {
  const image = await imageOf(file);
  if (!image) return "";
  const path = image.name;  // the name the user knows it by, as messages show it
  storeFile(path, new Uint8Array(await image.arrayBuffer()));
  // An archive's image is saved as a download under its own name, never written into the archive.
  files.set(path, { name: image.name, handle: image === file ? handle : null });
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
  types.push({ description: "Images in .zip archives", accept: { "application/zip": [".zip"] } });
  return types;
}

// The program's file choice (a Load): answered with the chosen file's path, or Cancel.
export async function chooseFile(request, filter) {
  if (useFileSystemAccess && window.showOpenFilePicker) {
    try {
      const [handle] = await window.showOpenFilePicker({ types: pickerTypes(filter), excludeAcceptAllOption: false,
                                                          multiple: false });
      const path = await hold(await handle.getFile(), handle);
      post({ kind: EventKind.AnswerGiven, a: request, b: path ? Win.IDOK : Win.IDCANCEL, text: path });
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
    post({ kind: EventKind.AnswerGiven, a: request, b: path ? Win.IDOK : Win.IDCANCEL, text: path });
  } else if (path) {
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
