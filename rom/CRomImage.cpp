#include "rom/CRomImage.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>
#include <string>

#include "framework/CFileDialog.h"
#include "framework/FileSystem.h"
#include "rom/RomLayout.h"
#include "rom/SaveOrder.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVERO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(TAVERO_ASAN)
#define TAVERO_ASAN 1
#endif
#if defined(TAVERO_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace {

// A reused buffer may be longer than the file: under AddressSanitizer its end past the file
// stays out of bounds, so that a read past the image is caught as in a buffer of its length.
void BoundBuffer(std::uint8_t* buffer, std::uint64_t used, std::uint64_t capacity) {
#if defined(TAVERO_ASAN)
  ASAN_UNPOISON_MEMORY_REGION(buffer, used);
  ASAN_POISON_MEMORY_REGION(buffer + used, capacity - used);
#else
  (void)buffer;
  (void)used;
  (void)capacity;
#endif
}

const char* const RomFilter =
    "SNES ROM Files (*.smc;*.fig;*.sfc)|*.smc;*.fig;*.sfc|GBA ROM Files (*.gba)|*.gba|All Files (*.*)|*.*||";

std::string Hex(std::uint64_t value, int digits = 0) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

CRomImage::CRomImage() = default;

CRomImage::~CRomImage() {
  Buffer.reset();
  GlyphSheet.Release();
  PaletteSheet.Release();
}

void CRomImage::ReleaseImage() {
  // Kept for the next load of a file no longer: its pages are already the program's.
  if (Buffer) {
    Spare = std::move(Buffer);
    SpareCapacity = BufferCapacity;
  }
  BufferCapacity = 0;
  BufferSize = 0;
  LargeImage = 0;
  HeaderSize = 0;
  ImageLength = 0;
  Cursor = 0;
  RecordsShifted = false;
}

int CRomImage::ChooseFile() {
  CFileDialog dialog(TRUE, "", "", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, RomFilter);
  if (dialog.DoModal() != IDOK) return 0;
  Path = dialog.GetPathName();
  return 1;
}

void CRomImage::SetPath(const CString& path) { Path = path; }

bool CRomImage::OpenFile(unsigned openMode) {
  if (File.Open(Path, openMode)) return true;
  ErrorText = File.ErrorText();
  return false;
}

bool CRomImage::CloseAndFail(const CString& why) {
  ErrorText = why;
  File.Close();
  return false;
}

int CRomImage::LoadFile(unsigned openMode) {
  ReleaseImage();
  ErrorText.Empty();
  if (!OpenFile(openMode)) return 0;
  // Each failure after the open closes the file and says why; no image is held.
  std::uint64_t fileLength = 0;
  if (!File.GetLength(fileLength)) return CloseAndFail(File.ErrorText());
  if (fileLength > std::numeric_limits<std::size_t>::max() / 2) return CloseAndFail("the file is too large to load");
  std::uint64_t capacity = SpareCapacity;
  std::unique_ptr<std::uint8_t[]> bytes = capacity >= fileLength && Spare ? std::move(Spare) : nullptr;
  Spare.reset();
  SpareCapacity = 0;
  if (!bytes) {
    capacity = fileLength ? fileLength : 1;
    bytes.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(capacity)]);
  }
  if (!bytes) return CloseAndFail("not enough memory to hold the file");
  BoundBuffer(bytes.get(), fileLength, capacity);
  std::size_t got = File.Read(bytes.get(), static_cast<std::size_t>(fileLength));
  if (got != fileLength) {
    // Half a file would be saved back over the whole one: refuse it.
    CString why("the file could not be read whole (" + std::to_string(got) + " of " + std::to_string(fileLength) +
                " bytes)");
    if (!File.ErrorText().IsEmpty()) why += CString(": ") + File.ErrorText();
    return CloseAndFail(why);
  }
  File.Close();

  Buffer = std::move(bytes);
  BufferCapacity = capacity;
  BufferSize = fileLength;
  Loaded = FileFingerprint::Of({Buffer.get(), static_cast<std::size_t>(fileLength)});
  // Of a longer file only the first LargeImageLength bytes are the image; the rest is kept
  // in memory and on disk.
  ImageLength = static_cast<std::uint32_t>(RomLayout::ImageLengthOf(fileLength));
  LargeImage = RomLayout::IsLargeImage(fileLength) ? 1 : 0;
  return 1;
}

bool CRomImage::LoadImage(LoadStage upTo, unsigned openMode) {
  if (!LoadFile(openMode)) return false;
  SetHeaderSize(RomLayout::HeaderSizeOf(ImageLength));
  if (upTo == LoadStage::Header) return true;
  if (!CheckImageExtent()) return false;
  return upTo == LoadStage::Extent || ReadKnownEsperData();
}

bool CRomImage::ReadKnownEsperData() {
  if (!CheckEsperCode()) return false;
  ReadEsperData();
  return true;
}

bool CRomImage::CheckImageExtent() {
  if (!Buffer) {
    ErrorText = "no image is loaded";
    return false;
  }
  std::uint64_t needed = FileOffset(RomLayout::ImageEnd);
  if (needed <= ImageLength) return true;
  // Not needed itself: that length would give the file another header. Every file from
  // ShortestImageLength on reaches, whatever its header.
  ErrorText = CString("the file is too short for an image: it needs at least " + Hex(RomLayout::ShortestImageLength) +
                      " bytes (" + Hex(RomLayout::ShortestImageLength + RomLayout::CopierHeaderSize) +
                      " with a copier header), and it has " + Hex(BufferSize));
  ReleaseImage();
  return false;
}

CString CRomImage::FailureMessage(const char* action) const {
  return FailureMessage(action, CurrentFileSystem().ShownPath(Path));
}

CString CRomImage::FailureMessage(const char* action, const CString& shownPath) const {
  const CString reason = ErrorText.IsEmpty() ? CString("the system gave no reason") : ErrorText;
  return CString("Could not ") + CString(action) + CString(" ") + shownPath + CString(":\n") + reason + CString(".");
}

bool CRomImage::CheckEsperCode() {
  if (!Buffer) {
    ErrorText = "no image is loaded";
    return false;
  }
  const std::uint8_t a = PeekByte(RomLayout::RecordSizeProbeA);
  const std::uint8_t b = PeekByte(RomLayout::RecordSizeProbeB);
  if (KnownEsperCode(a, b)) return true;
  ErrorText = CString("the image's esper code is not one the editor knows: its record-size probes read " + Hex(a, 2) +
                      " and " + Hex(b, 2) + " (the editor knows both at 0x0B, five-slot, or both alike from 0x0D up)");
  ReleaseImage();
  return false;
}

bool CRomImage::SaveFile(bool overChanges) {
  if (Buffer) StoreRecords();
  return WriteImage(overChanges);
}

bool CRomImage::ReadsBackAsImage() {
  CFile file;
  bool same = file.Open(Path, CFile::modeRead) && file.Read(Before.data(), ImageLength) == ImageLength &&
              std::equal(Before.begin(), Before.begin() + ImageLength, Buffer.get());
  file.Close();
  return same;
}

bool CRomImage::WriteImage(bool overChanges) {
  ErrorText.Empty();
  Warning.Empty();
  ChangedOnDisk = false;
  if (!Buffer) {
    ErrorText = "no image is loaded";
    return false;
  }
  // Opened for writing even when it is to be replaced: a file that may not be written is
  // not saved over by a rename either.
  if (!OpenFile(CFile::modeReadWrite)) return false;
  // Each failure closes the file and says why; the file is as it was unless noted.
  std::uint64_t length = 0;
  if (!File.GetLength(length)) return CloseAndFail(File.ErrorText());
  if (length > std::numeric_limits<std::size_t>::max() / 2) return CloseAndFail("the file is too large to save");

  // What the file holds now: whether another program changed it, what lies past the image,
  // and what to put back should a write in place stop half-way (kept from one save to the
  // next, as the image's own buffer is).
  try {
    Before.resize(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    return CloseAndFail("not enough memory to save the file safely; it was left as it is");
  }
  if (!File.Seek(0, CFile::begin)) return CloseAndFail(File.ErrorText());
  if (File.Read(Before.data(), Before.size()) != Before.size())
    return CloseAndFail(File.ErrorText().IsEmpty()
                            ? CString("the file could not be read back before writing; it was left as it is")
                            : File.ErrorText());
  if (!overChanges && FileFingerprint::Of(Before) != Loaded) {
    ChangedOnDisk = true;
    return CloseAndFail("it has changed on disk since it was loaded; it was left as it is");
  }
  if (length < ImageLength)  // writing the image would make the file longer than it now is
    return CloseAndFail(CString("the file is shorter than when it was loaded (" + std::to_string(length) + " bytes, " +
                                std::to_string(ImageLength) + " expected); it was left as it is"));

  CString why;
  const std::unique_ptr<FileSystem::Replacement> replacement = CurrentFileSystem().Replace(Path, why);
  if (!(replacement ? ReplaceWhole(*replacement) : WriteChangedRuns())) return false;
  // The next save checks the file against what this one wrote: the image, then what lay past it.
  std::copy_n(Buffer.get(), ImageLength, Before.begin());
  Loaded = FileFingerprint::Of(Before);
  return true;
}

bool CRomImage::ReplaceWhole(FileSystem::Replacement& replacement) {
  File.Close();  // only read; nothing may hold it open while another file takes its name
  CString why;
  if (replacement.Write(Buffer.get(), ImageLength, why) &&
      replacement.Write(Before.data() + ImageLength, Before.size() - ImageLength, why) && replacement.Commit(why)) {
    Warning = why;
    return true;
  }
  ErrorText = why + CString("; the file was left as it is");
  return false;
}

bool CRomImage::WriteChangedRuns() {
  const std::vector<Formats::ByteRun> runs =
      SaveOrder::RunsToWrite({Before.data(), ImageLength}, {Buffer.get(), ImageLength}, HeaderSize);
  const auto write = [&](const Formats::ByteRun& run, const std::uint8_t* from) {
    return File.Seek(static_cast<std::int64_t>(run.Start), CFile::begin) &&
           File.Write(from + run.Start, static_cast<std::size_t>(run.Length));
  };
  // Flushed before the last run, so that it reaches the disk after all the others.
  std::size_t done = 0;
  bool written = true;
  for (; written && done < runs.size(); ++done) {
    const bool last = done > 0 && done + 1 == runs.size();
    written = (!last || File.Flush()) && write(runs[done], Buffer.get());
  }
  if (written && File.Flush()) {
    if (File.Close()) return true;
    // Written and flushed: a close that fails after that has lost nothing when the file
    // reads back as the image. Then it is saved, with a warning.
    const CString why = File.ErrorText();
    if (!ReadsBackAsImage()) {
      ErrorText = why;
      return false;
    }
    Warning = why + CString("; the file reads back as saved");
    return true;
  }
  CString why = File.ErrorText();
  bool restored = true;
  for (std::size_t run = 0; run < done; ++run) restored = write(runs[run], Before.data()) && restored;
  restored = restored && File.Flush();
  return CloseAndFail(why + CString(restored ? "; the file was put back as it was"
                                             : "; the file could not be put back and may be damaged"));
}

void CRomImage::SeekRom(std::uint64_t romOffset) { Cursor = FileOffset(romOffset); }

std::uint8_t CRomImage::ReadByte() {
  std::uint8_t value = Cursor < BufferSize ? Buffer[static_cast<std::size_t>(Cursor)] : 0;
  ++Cursor;
  return value;
}

void CRomImage::WriteByte(int value) {
  if (Cursor < BufferSize) Buffer[static_cast<std::size_t>(Cursor)] = static_cast<std::uint8_t>(value & 0xFF);
  ++Cursor;
}

std::uint8_t CRomImage::PeekByte(std::uint64_t romOffset) const {
  std::uint64_t at = FileOffset(romOffset);
  return at < BufferSize ? Buffer[static_cast<std::size_t>(at)] : 0;
}

CString CRomImage::ReadText(int width, std::uint64_t romOffset) const {
  std::string text;
  std::uint64_t at = FileOffset(romOffset);
  for (int i = 0; i < width; ++i, ++at) {
    std::uint8_t byte = at < BufferSize ? Buffer[static_cast<std::size_t>(at)] : 0;
    if (byte == 0x00 && LargeImage) byte = 0x20;
    if (byte == 0x00) break;
    text += static_cast<char>(byte);
  }
  return CString(std::move(text));
}
