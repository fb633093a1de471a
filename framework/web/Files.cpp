// The files the page gave the program, held in memory; a save goes out to the browser whole,
// once (Replace), and a file written in place goes out when the program flushes it.
//
// The page hands over one file at a time, once the program has taken it (its file choice):
// from then on that file alone is held, every earlier one forgotten, so a replaced file gives
// its room back. Each lives under a path of its own ("given/N/NAME"), so that two files of the
// same name are two files; the user knows it by NAME. A file the page holds a write handle for
// is read from disk again before the program reads it (a save's check of what the file holds
// now), unless the program read it since it last waited for the user.

#include <emscripten.h>

#include <cstdlib>
#include <map>
#include <new>

#include "framework/MemoryFileSystem.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebApp.h"
#include "framework/web/WebPage.h"

namespace {

class WebFiles : public FileSystem {
 public:
  MemoryFileSystem Store;

  struct Held {
    bool Handle = false;  // the page can read and write the file on disk
    bool Fresh = true;    // read from disk, or written there, since the program last waited
    bool OriginalKept = false;
    std::vector<std::uint8_t> Original;  // the bytes as given, once the store's have changed
  };
  std::map<std::string, Held> Files;

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override {
    const auto held = Files.find(path.Str());
    if (held != Files.end() && held->second.Handle && !held->second.Fresh) {
      if (char* error = page_refresh_file(path.Str().c_str())) {
        why = CString(error);
        std::free(error);
        return nullptr;
      }
      held->second.Fresh = true;
    }
    std::unique_ptr<File> file = Store.Open(path, writing, why);
    if (!file) return nullptr;
    return std::make_unique<WebFile>(*this, path.Str(), std::move(file));
  }

  // A save goes out whole, once: the browser writes a file (or a download) in one step, and a
  // save in place by runs would send one download per flush.
  std::unique_ptr<Replacement> Replace(const CString& path, CString& why) override {
    if (!Store.Exists(path.Str())) {
      why = CString("the file is no longer held");
      return nullptr;
    }
    return std::make_unique<WholeSave>(*this, path.Str());
  }

  CString ShownPath(const CString& path) const override {
    return CString(path.Str().substr(path.Str().find_last_of('/') + 1));
  }

  // Before the store's bytes of path change: the bytes as given are kept (a patch is made from them).
  void KeepOriginal(const std::string& path) {
    const auto held = Files.find(path);
    if (held == Files.end() || held->second.OriginalKept) return;
    held->second.Original = Store.Contents(path);
    held->second.OriginalKept = true;
  }

  // Room for length bytes as the file at path: null when there is no memory for them.
  std::uint8_t* Room(const std::string& path, int length) {
    try {
      auto& bytes = Store.Contents(path);
      bytes.resize(static_cast<std::size_t>(length));
      Store.TakeWritten(path);
      return bytes.data();
    } catch (const std::bad_alloc&) {
      Store.Remove(path);
      return nullptr;
    }
  }

 private:
  // The bytes of a save, gathered, then handed to the browser and kept as the file's.
  class WholeSave : public Replacement {
   public:
    WholeSave(WebFiles& files, std::string path) : Files(files), Path(std::move(path)) {}
    bool Write(const void* buffer, std::size_t count, CString& why) override {
      try {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        Bytes.insert(Bytes.end(), bytes, bytes + count);
        return true;
      } catch (const std::bad_alloc&) {
        why = CString("not enough memory to save the file");
        return false;
      }
    }
    bool Commit(CString& why) override {
      if (char* error = page_save_file(Path.c_str(), Bytes.data(), static_cast<int>(Bytes.size()))) {
        why = CString(error);
        std::free(error);
        return false;
      }
      Files.KeepOriginal(Path);
      Files.Store.Contents(Path) = std::move(Bytes);
      Files.Store.TakeWritten(Path);
      return true;
    }

   private:
    WebFiles& Files;
    std::string Path;
    std::vector<std::uint8_t> Bytes;
  };

  // A file of the store that, flushed after a write, goes out to the browser.
  class WebFile : public File {
   public:
    WebFile(WebFiles& files, std::string path, std::unique_ptr<File> held)
        : Files(files), Path(std::move(path)), Held(std::move(held)) {}
    bool GetLength(std::uint64_t& length, CString& why) override { return Held->GetLength(length, why); }
    std::size_t Read(void* buffer, std::size_t count, CString& why) override { return Held->Read(buffer, count, why); }
    bool Seek(std::int64_t offset, CString& why) override { return Held->Seek(offset, why); }
    bool Write(const void* buffer, std::size_t count, CString& why) override {
      Files.KeepOriginal(Path);
      return Held->Write(buffer, count, why);
    }
    bool Flush(CString& why) override {
      if (!Held->Flush(why)) return false;
      const auto written = Files.Store.TakeWritten(Path);
      if (written.First == written.Last) return true;
      const auto& bytes = Files.Store.Contents(Path);
      if (char* error = page_save_file(Path.c_str(), bytes.data(), static_cast<int>(bytes.size()))) {
        why = CString(error);
        std::free(error);
        return false;
      }
      return true;
    }
    bool Close(CString& why) override { return Held->Close(why); }

   private:
    WebFiles& Files;
    std::string Path;
    std::unique_ptr<File> Held;
  };
};

WebFiles& TheFiles() {
  static WebFiles files;
  return files;
}

}  // namespace

namespace WebApp {
FileSystem& Files() { return TheFiles(); }

void FilesMayChange() {
  for (auto& [path, held] : TheFiles().Files) held.Fresh = false;
}
}  // namespace WebApp

namespace WebPage {
const std::vector<std::uint8_t>& OriginalBytes(const CString& path) {
  static const std::vector<std::uint8_t> none;
  WebFiles& files = TheFiles();
  const auto held = files.Files.find(path.Str());
  if (held == files.Files.end()) return none;
  return held->second.OriginalKept ? held->second.Original : files.Store.Contents(path.Str());
}
}  // namespace WebPage

// The page hands over a file the user gave, once the program has taken it: room for its length
// bytes under path, which the page fills at once. Every other file is forgotten first, so their
// room serves this one. Null when there is no memory for it.
extern "C" EMSCRIPTEN_KEEPALIVE std::uint8_t* tavero_file_room(const char* path, int length, int handle) {
  WebFiles& files = TheFiles();
  for (const auto& [held, _] : files.Files) files.Store.Remove(held);
  files.Files.clear();
  std::uint8_t* room = files.Room(path, length);
  if (room) files.Files[path].Handle = handle != 0;
  return room;
}

// The file at path as the page read it from disk again: room for its length bytes, which the
// page fills at once. Null when there is no memory for them (the file is then as it was).
extern "C" EMSCRIPTEN_KEEPALIVE std::uint8_t* tavero_file_reread_room(const char* path, int length) {
  WebFiles& files = TheFiles();
  if (!files.Files.count(path)) return nullptr;
  try {
    files.KeepOriginal(path);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  auto& bytes = files.Store.Contents(path);
  if (bytes.size() == static_cast<std::size_t>(length)) return bytes.data();
  std::vector<std::uint8_t> kept;
  kept.swap(bytes);
  if (std::uint8_t* room = files.Room(path, length)) return room;
  files.Store.Contents(path).swap(kept);
  return nullptr;
}
