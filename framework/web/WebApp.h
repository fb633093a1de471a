#pragma once
// Inside the web backend: the files the user gave it.

#include "framework/FileSystem.h"

namespace WebApp {

// The file the user gave the page last and the program took, held in memory under a path of
// its own (Files.cpp). A file opened for writing and flushed after a write is written out as the
// page can: into the file itself where the browser gave its handle and permission, else offered
// as a download.
FileSystem& Files();

// The program waits for the user: the files on disk may change meanwhile, so a file with a
// handle is read again before the program next reads it.
void FilesMayChange();

}  // namespace WebApp
