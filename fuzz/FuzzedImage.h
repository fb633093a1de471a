#pragma once
// Turns a short fuzz input into a whole image file, so that inputs stay small and cheap:
// the input picks the file's length and header remainder, the probes, and overwrites chosen
// stretches of the records, names, font and palette of a generated image. The file is held
// in memory (ProcessMemoryFiles), so the editor's loads and saves run whole without the disk.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "framework/MemoryFileSystem.h"

// Makes the file at the returned path the image that the input describes.
const std::string& WriteFuzzedImage(FuzzedDataProvider& input);

// The editor dialog on the in-memory backend, made once per process.
class CEditorDlg;
CEditorDlg& FuzzedEditor();
