// The files the user gave the page, held in memory; a save goes out to the browser when the
// program flushes what it wrote (CRomImage::WriteImage flushes once the image is written).

#include <emscripten.h>

#include <cstdlib>
#include <map>

#include "framework/MemoryFileSystem.h"
#include "framework/web/PageCalls.h"
#include "framework/web/WebApp.h"
#include "framework/web/WebPage.h"

namespace {

class WebFiles : public FileSystem {
 public:
  MemoryFileSystem Store;
  std::map<std::string, std::vector<std::uint8_t>> Originals;

  std::unique_ptr<File> Open(const CString& path, bool writing, CString& why) override {
    std::unique_ptr<File> file = Store.Open(path, writing, why);
    if (!file) return nullptr;
    return std::make_unique<WebFile>(*this, path.Str(), std::move(file));
  }

 private:
  // A file of the store that, flushed after a write, goes out to the browser.
  class WebFile : public File {
   public:
    WebFile(WebFiles& files, std::string path, std::unique_ptr<File> held)
        : Files(files), Path(std::move(path)), Held(std::move(held)) {}
    bool GetLength(std::uint64_t& length, CString& why) override { return Held->GetLength(length, why); }
    std::size_t Read(void* buffer, std::size_t count, CString& why) override { return Held->Read(buffer, count, why); }
    bool Seek(std::int64_t offset, CString& why) override { return Held->Seek(offset, why); }
    bool Write(const void* buffer, std::size_t count, CString& why) override { return Held->Write(buffer, count, why); }
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
}  // namespace WebApp

namespace WebPage {
const std::vector<std::uint8_t>& OriginalBytes(const CString& path) {
  static const std::vector<std::uint8_t> none;
  const auto found = TheFiles().Originals.find(path.Str());
  return found == TheFiles().Originals.end() ? none : found->second;
}
}  // namespace WebPage

// The page hands over a file the user chose or dropped: its bytes, under path.
extern "C" EMSCRIPTEN_KEEPALIVE void tavero_store_file(const char* path, const std::uint8_t* bytes, int length) {
  WebFiles& files = TheFiles();
  files.Store.Contents(path).assign(bytes, bytes + length);
  files.Store.TakeWritten(path);
  files.Originals[path].assign(bytes, bytes + length);
}
