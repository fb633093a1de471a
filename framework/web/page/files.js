// The files the user gives the page: the open picker (the File System Access API's where the
// browser has it, else the page's file input), a file dropped or chosen outside a Load, the
// image inside a .zip archive, and the way a save goes out (into the file through its handle,
// else a download).

import { post } from "./events.js";
import { messageBox } from "./messagebox.js";
import { restoreFile, storeFile } from "./program.js";
import { EventKind, Win } from "./protocol.js";
import { applicationName } from "./windows.js";
import { extract, imageEntries, isZip, readDirectory, ZipError } from "./zip.js";

// The largest file, or image in an archive, the page takes: eight times the largest image the
// editor writes, room for the data some keep past it, while a tab holds the file twice (as held
// and as the editor reads it) and its original after a save, even on a phone.
const LargestImage = 64 << 20;

const files = new Map();  // path in the program's files -> { name, handle }: the file held
const waiting = new Map();  // number -> { name, bytes }: given outside a Load, until the program takes it
let givenFiles = 0;
let heldFiles = 0;
let pendingChoice = 0;  // the file choice the page's <input> answers, if any
let input = null;
let useFileSystemAccess = true;

// Answers the program's file choice request with the file at path, or Cancel when path is "".
const answer = (request, path) => post({ kind: EventKind.AnswerGiven, a: request, b: path ? Win.IDOK : Win.IDCANCEL,
                                         text: path });

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
    answer(request, "");
  });
}

// A box of the page's own, as the program's: resolves with the index of the choice picked, else -1.
const pageBox = (text, choices = []) => new Promise((resolve) => messageBox(
  applicationName(), text, Win.MB_OK, (id, choice) => resolve(choice === undefined ? -1 : choice), choices));

const mebibytes = (bytes) => (bytes / 1048576).toFixed(1) + " MiB";

// Why a file went unread: the page's box, once its own words are known.
async function refused(name, why) {
  await pageBox(`Could not load ${name}:\n${why}${why.endsWith(".") ? "" : "."}`);
}

function tooLarge(size) {
  return `it is ${mebibytes(size)} (${size.toLocaleString("en-US")} bytes), and the page takes images of up to ` +
    `${LargestImage >> 20} MiB.`;
}

// The image the user gives as file: the file itself, or a file of the image inside it, named as
// that image, when it is a .zip archive (the user picks where it holds several). null when there
// is none to load: refused (the user is told why) or no pick made. A file larger than the page
// takes is refused before a byte of it is read.
async function imageOf(file) {
  if (file.size > LargestImage && !/\.zip$/i.test(file.name)) {
    await refused(file.name, tooLarge(file.size));
    return null;
  }
  try {
    if (!(await isZip(file))) {
      if (file.size <= LargestImage) return file;
      await refused(file.name, tooLarge(file.size));
      return null;
    }
    const images = imageEntries(await readDirectory(file));
    if (!images.length) throw new ZipError("it holds no image (no .smc, .sfc or .fig file)");
    const pick = images.length === 1 ? 0
      : await pageBox(`${file.name} holds several images. Which one is to be loaded?`,
                      images.map((entry) => entry.name));
    if (pick < 0) return null;
    return new File([await extract(file, images[pick], LargestImage)], images[pick].name);
  } catch (error) {
    await refused(file.name, error instanceof ZipError ? error.message : reason(error));
    return null;
  }
}

// An error's words for the user.
export function reason(error) {
  return (error && (error.message || error.name)) || String(error);
}

// The image's bytes, read once; null when they could not be (the user is told why).
async function read(image) {
  try {
    return new Uint8Array(await image.arrayBuffer());
  } catch (error) {
    await refused(image.name, `it could not be read (${reason(error)}).`);
    return null;
  }
}

// Hands the image's bytes to the program as its one file: its path there, or "" when the
// program has no room for it (the user is told). handle: where Save writes it in place.
function hold(name, bytes, handle) {
  // A folder of its own: two files of one name are two files. The program forgets the others.
  const path = `given/${++heldFiles}/${name}`;
  files.clear();
  if (!storeFile(path, bytes, Boolean(handle))) {
    refused(name, `there is not enough memory for its ${mebibytes(bytes.length)}.`);
    return "";
  }
  files.set(path, { name, handle });
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
  if (!useFileSystemAccess || !window.showOpenFilePicker) {
    pendingChoice = request;
    input.value = "";
    input.click();
    return;
  }
  let path = "";
  try {
    const [handle] = await window.showOpenFilePicker({ types: pickerTypes(filter), excludeAcceptAllOption: false,
                                                        multiple: false });
    const file = await handle.getFile();
    const image = await imageOf(file);
    const bytes = image && (await read(image));
    // An archive's image is saved as a download under its own name, never written into the archive.
    if (bytes) path = hold(image.name, bytes, image === file ? handle : null);
  } catch (error) {
    if (error.name !== "AbortError") await refused("the file", reason(error));  // AbortError: no file picked
  } finally {
    answer(request, path);
  }
}

// A file the user gave the page: the answer to the file choice when one waits, else a Load of
// it, which may first ask about unsaved changes: until the program takes it (takeGivenFile)
// the file's bytes wait here, apart from the file held.
export async function fileGiven(file) {
  const request = pendingChoice;
  pendingChoice = 0;
  let path = "";
  try {
    const image = await imageOf(file);
    const bytes = image && (await read(image));
    if (bytes && request) {
      path = hold(image.name, bytes, null);
    } else if (bytes) {
      waiting.set(++givenFiles, { name: image.name, bytes });
      post({ kind: EventKind.OpenFile, a: givenFiles, text: image.name });
    }
  } catch (error) {
    await refused(file.name, reason(error));
  } finally {
    if (request) answer(request, path);  // a waiting choice is answered, whatever happened
  }
}

// The program's file choice takes the file given as number: its path in the program's files,
// or "" when it is no longer there or finds no room.
export function takeGivenFile(number) {
  const given = waiting.get(number);
  waiting.delete(number);
  return given ? hold(given.name, given.bytes, null) : "";
}

export function forgetGivenFile(number) {
  waiting.delete(number);
}

// Reads the file at path from disk again into the program, where the page can (a handle):
// "" when done or nothing to do, else why not.
export async function refreshFile(path) {
  const file = files.get(path);
  if (!file || !file.handle) return "";
  try {
    const now = await file.handle.getFile();
    if (now.size > LargestImage) return `the file on disk is now ${mebibytes(now.size)}, more than the page takes`;
    if (!restoreFile(path, new Uint8Array(await now.arrayBuffer())))
      return "there is not enough memory to read it again";
    return "";
  } catch (error) {
    return `it could not be read again (${reason(error)})`;
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
