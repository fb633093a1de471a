// The page around the editor: its own controls, files dropped on it, the offline cache, and
// the question before unsaved changes are lost with the tab.

import { TaveroPage } from "./page/page.js";

TaveroPage.configure({
  host: document.getElementById("editor-host"),
  input: document.getElementById("open-image"),
  useFileSystemAccess: !new URLSearchParams(location.search).has("no-file-system-access"),
  held: document.getElementById("held-image"),
});

for (const control of document.querySelectorAll("[data-page-command]"))
  control.addEventListener("click", () => TaveroPage.pageCommand(control.dataset.pageCommand));

// The zoom of the editor and of every dialog and message box of the program: Fit on a phone's
// narrow screen, else 1.
const zoom = document.getElementById("zoom");
if (matchMedia("(max-width: 599px)").matches) zoom.value = "fit";
TaveroPage.setZoom(zoom.value);
zoom.addEventListener("change", () => TaveroPage.setZoom(zoom.value));

// A file dropped anywhere on the page: Load with that file.
document.addEventListener("dragover", (event) => event.preventDefault());
document.addEventListener("drop", (event) => {
  event.preventDefault();
  if (event.dataTransfer.files.length) TaveroPage.openFile(event.dataTransfer.files[0]);
});

// Closing or reloading the tab with unsaved changes: the browser asks its own question.
window.addEventListener("beforeunload", (event) => {
  if (TaveroPage.hasUnsavedChanges()) {
    event.preventDefault();
    event.returnValue = "";
  }
});

document.addEventListener("tavero-ended", () => {
  document.getElementById("ended").hidden = false;
});
document.getElementById("restart").addEventListener("click", () => {
  document.getElementById("ended").hidden = true;
  TaveroPage.restart();
});

if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js");
