#include "cli/PendingFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>

#include "cli/Interruption.h"
#include "cli/OutputPath.h"
#include "cli/Printable.h"
#include "framework/CFile.h"

namespace Cli {

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

namespace {

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// ".NAME.tavero-TAG", the name cut at a character's start where needed to keep the whole
// within 255 bytes, the longest file name a file system takes.
std::string TemporaryName(const std::string& name, std::uint32_t tag) {
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".tavero-%08x", static_cast<unsigned>(tag));
  constexpr std::size_t LongestName = 255;
  std::size_t keep = std::min(name.size(), LongestName - 1 - std::strlen(suffix));
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  std::string temporary(1, '.');
  temporary.append(name, 0, keep).append(suffix);
  return temporary;
}

}  // namespace

PendingFile::PendingFile(const std::string& destination) : Destination(destination) {
  std::error_code code;
  DestinationExisted = std::filesystem::exists(std::filesystem::symlink_status(FsPath(destination), code));
}

PendingFile::~PendingFile() { ForgetTemporary(Noted); }

bool PendingFile::Create(int permissions) {
  const std::filesystem::path to = FsPath(Destination);
  const std::string name = Utf8Of(to.filename());
  std::random_device seed;
  // The name is new each time: one taken (by another run, or by a link planted there)
  // is passed over, never opened.
  for (int attempt = 0; attempt < 100; ++attempt) {
    Temporary = Utf8Of(to.parent_path() / FsPath(TemporaryName(name, seed())));
    if (File.Create(CString(Temporary), permissions)) {
      Noted = NoteTemporary(Temporary);
      return true;
    }
    if (!File.NameTaken()) return false;
  }
  return false;
}

bool PendingFile::Write(std::span<const std::uint8_t> bytes) { return File.Write(bytes.data(), bytes.size()); }

bool PendingFile::Close() { return File.Close(); }

bool PendingFile::Commit() {
  if (!File.Replace(CString(Destination))) return false;
  ForgetTemporary(Noted);  // its name is the destination's now
  Noted = -1;
  return true;
}

std::string PendingFile::Failure() const { return Failure("Could not write " + Printable(Destination)); }

std::string PendingFile::Failure(const std::string& heading) const {
  const bool untouched = DestinationExisted && !File.InPlace();
  return heading + ":\n" + Reason().Str() + (untouched ? "; " + Printable(Destination) + " was left as it was." : ".");
}

int CopyPermissions(const std::string& path) {
  std::error_code code;
  const std::filesystem::perms mode = std::filesystem::status(FsPath(path), code).permissions();
  if (code || mode == std::filesystem::perms::unknown) return -1;
  return static_cast<int>(mode | std::filesystem::perms::owner_write);
}

bool CheckImageOutput(const std::string& output, std::string* error) {
  const PathKind kind = KindOfPath(output);
  if (kind == PathKind::Missing || kind == PathKind::RegularFile) return true;
  *error = "--output " + Printable(output) + " is " + KindWords(kind) +
           "; an image is written to a regular file or a new name, never through another kind of file";
  return false;
}

bool CopyForOutput(const std::string& input, const std::string& output, PendingFile& pending, std::string* error) {
  if (SameFile(input, output)) {
    *error = "--output " + Printable(output) + " is the input image itself; leave --output out to edit it in place";
    return false;
  }
  if (!CheckImageOutput(output, error)) return false;
  std::string bytes;
  if (!ReadWholeFile(input, bytes, error, "load")) return false;
  // A read-only original gives a writable copy: the copy is ours to write.
  if (!pending.Create(CopyPermissions(input)) ||
      !pending.Write({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) || !pending.Close()) {
    *error = pending.Failure("Could not copy " + Printable(input) + " to " + Printable(output));
    return false;
  }
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code code;
  return std::filesystem::equivalent(FsPath(a), FsPath(b), code) && !code;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error, const char* action) {
  CFile file;
  std::uint64_t length = 0;
  bool done = file.Open(CString(path), CFile::modeRead) && file.GetLength(length);
  if (done) {
    bytes.resize(static_cast<std::size_t>(length));
    done = file.Read(bytes.data(), bytes.size()) == length;
  }
  if (done) return true;
  // A short read without an error: the file was cut while it was read.
  const CString why = file.ErrorText().IsEmpty() ? CString("the file ended before its length") : file.ErrorText();
  *error = std::string("Could not ") + action + " " + Printable(path) + ":\n" + why.Str() + ".";
  return false;
}

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error, int permissions) {
  if (KindOfPath(path) == PathKind::Stream) {
    std::string why;
    if (WriteThrough(path, bytes, &why)) return true;
    *error = "Could not write " + Printable(path) + ":\n" + why + ".";
    return false;
  }
  PendingFile pending(path);
  if (pending.Create(permissions) && pending.Write(bytes) && pending.Commit()) return true;
  *error = pending.Failure();
  return false;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error) {
  return WriteWholeFile(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, error);
}

}  // namespace Cli
