#pragma once
// Turns a short fuzz input into a whole image file, so that inputs stay small and cheap:
// the input picks the file's length and header remainder, the probes, and overwrites chosen
// stretches of the records, names, font and palette of a generated image.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

// Writes the image that the input describes to a file of this process and returns its path.
std::string WriteFuzzedImage(FuzzedDataProvider& input);

// The editor dialog on the in-memory backend, made once per process.
class CEditorDlg;
CEditorDlg& FuzzedEditor();
