#pragma once
// Inside the web backend: the files the user gave it.

#include "framework/FileSystem.h"

namespace WebApp {

// The files the user chose or dropped, held in memory by path (the file's name). A file opened
// for writing and flushed after a write is written out as the page can: into the file itself
// where the browser gave its handle and permission, else offered as a download.
FileSystem& Files();

}  // namespace WebApp
