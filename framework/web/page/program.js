// What the page asks of the running program (tavero.js's Module) while it draws and names the
// items of a list, and where it hands over a file's bytes.

const running = () => globalThis.Module;

// The owner's drawing of an item (-1 with ODS_COMBOBOXEDIT: the selection field), as the
// pixels of an ImageData of width x height.
export function itemPixels(window, index, state, width, height) {
  const program = running();
  const pointer = program._tavero_draw_item(window, index, state, width, height);
  return new Uint8ClampedArray(program.HEAPU8.buffer, pointer, width * height * 4).slice();
}

// The rows a page key moves over in the list, from its top row as the window model keeps it.
export function listPageRows(window) {
  return running()._tavero_list_page_rows(window);
}

export function itemHeight(window, index) {
  return running()._tavero_item_height(window, index);
}

// The item's name for screen readers, as tavero-cli prints it.
export function itemName(window, index) {
  const program = running();
  return program.UTF8ToString(program._tavero_item_name(window, index));
}

export function hasUnsavedChanges() {
  const program = running();
  return Boolean(program && program._tavero_has_unsaved_changes && program._tavero_has_unsaved_changes());
}

// The held file's name as the user knows it; "" while the program holds none.
export function heldFileName() {
  const program = running();
  return program && program._tavero_held_file_name ? program.UTF8ToString(program._tavero_held_file_name()) : "";
}

// Calls room(pathPointer) with path as the program's string.
function withPath(path, room) {
  const program = running();
  const size = program.lengthBytesUTF8(path) + 1;
  const pointer = program._malloc(size);
  if (!pointer) return 0;
  program.stringToUTF8(path, pointer, size);
  try {
    return room(pointer);
  } finally {
    program._free(pointer);
  }
}

// Copies bytes into the program's room for them (a pointer, 0 when it has none): false when none.
function fill(pointer, bytes) {
  if (!pointer) return false;
  running().HEAPU8.set(bytes, pointer);
  return true;
}

// Hands the program the file the user gave under path, its only file from now on (handle:
// whether the page can write it in place). False when the program has no room for it.
export function storeFile(path, bytes, handle) {
  return fill(withPath(path, (pointer) => running()._tavero_file_room(pointer, bytes.length, handle ? 1 : 0)), bytes);
}

// The file at path as read from disk again. False when the program has no room for it.
export function restoreFile(path, bytes) {
  return fill(withPath(path, (pointer) => running()._tavero_file_reread_room(pointer, bytes.length)), bytes);
}
