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

// Copies bytes into the program's files under path.
export function storeFile(path, bytes) {
  const program = running();
  const pointer = program._malloc(Math.max(bytes.length, 1));
  program.HEAPU8.set(bytes, pointer);
  const pathBytes = program.lengthBytesUTF8(path) + 1;
  const pathPointer = program._malloc(pathBytes);
  program.stringToUTF8(path, pathPointer, pathBytes);
  program._tavero_store_file(pathPointer, pointer, bytes.length);
  program._free(pathPointer);
  program._free(pointer);
}
