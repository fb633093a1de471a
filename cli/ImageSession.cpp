#include "cli/ImageSession.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "rom/RomLayout.h"

namespace Cli {

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

namespace {

PatchPresence FindPatch(const CRomImage& rom) {
  PatchPresence found;
  for (const RomLayout::PatchRun& run : RomLayout::SixSlotPatch) {
    int matching = 0;
    std::uint64_t at = run.Offset;
    for (std::uint8_t byte : run.Bytes) matching += rom.PeekByte(at++) == byte ? 1 : 0;
    ++found.RunCount;
    found.ByteCount += static_cast<int>(run.Bytes.size());
    found.BytesPresent += matching;
    if (matching == static_cast<int>(run.Bytes.size())) ++found.RunsPresent;
  }
  return found;
}

}  // namespace

std::string ImageSession::Failure(const char* action) const {
  return (ShownPath.empty() ? Rom.FailureMessage(action) : Rom.FailureMessage(action, CString(ShownPath))).Str();
}

bool ImageSession::Load(const std::string& path, std::string* error, Access access) {
  Rom.SetPath(CString(path));
  if (!Rom.LoadFile(access == Access::Write ? CFile::modeReadWrite : CFile::modeRead)) {
    *error = Failure("load");
    return false;
  }
  Rom.SetHeaderSize(RomLayout::HeaderSizeOf(Rom.GetImageLength()));
  if (!Rom.CheckImageExtent()) {
    *error = Failure("load");
    return false;
  }
  ProbeA = Rom.PeekByte(RomLayout::RecordSizeProbeA);
  ProbeB = Rom.PeekByte(RomLayout::RecordSizeProbeB);
  PatchOnDisk = FindPatch(Rom);
  if (access == Access::Describe && !CRomImage::KnownEsperCode(ProbeA, ProbeB)) {
    Layout = EsperLayout::Unknown;  // described as it is; nothing is read or patched
    return true;
  }
  if (!Rom.CheckEsperCode()) {
    *error = Failure("load");
    return false;
  }

  // The editor's own probe rule decides; only a record size of 11 makes it patch, after
  // which it reads 13. So 13 now, from probes that did not both say 13, was 11 before.
  Rom.ReadEsperData();
  const bool patched = Rom.RecordSize == RomLayout::SixSlotRecordSize &&
                       !(ProbeA == RomLayout::SixSlotRecordSize && ProbeB == RomLayout::SixSlotRecordSize);
  ProbedRecordSize = patched ? RomLayout::FiveSlotRecordSize : Rom.RecordSize;
  Layout = ProbedRecordSize == RomLayout::FiveSlotRecordSize  ? EsperLayout::FiveSlot
           : ProbedRecordSize == RomLayout::SixSlotRecordSize ? EsperLayout::SixSlot
                                                              : EsperLayout::Other;
  return true;
}

bool ImageSession::Save(std::string* error) {
  if (Rom.SaveFile()) return true;
  *error = Failure("save");
  return false;
}

PendingFile::PendingFile(const std::string& destination) : Destination(destination) {
  const std::filesystem::path to = FsPath(destination);
  std::string stem(1, '.');
  stem.append(to.filename().string()).append(".tavero-");
  std::random_device seed;
  for (int attempt = 0; attempt < 100 && Temporary.empty(); ++attempt) {
    const std::filesystem::path candidate = to.parent_path() / (stem + std::to_string(seed() % 1000000000u));
    std::error_code code;
    if (!std::filesystem::exists(candidate, code) && !code) Temporary = candidate.string();
  }
  if (Temporary.empty()) Temporary = (to.parent_path() / (stem + "pending")).string();
}

PendingFile::~PendingFile() {
  if (Committed) return;
  std::error_code ignored;
  std::filesystem::remove(FsPath(Temporary), ignored);
}

bool PendingFile::Commit(std::string* error) {
  CString why;
  if (!CFile::Replace(CString(Temporary), CString(Destination), &why)) {
    *error = "Could not write " + Destination + ":\n" + why.Str() + "; it was left as it was.";
    return false;
  }
  Committed = true;
  return true;
}

bool CopyForOutput(const std::string& input, const std::string& output, const PendingFile& pending,
                   std::string* error) {
  std::error_code code;
  const std::filesystem::path from = FsPath(input), to = FsPath(pending.Path());
  if (SameFile(input, output)) {
    *error = "--output " + output + " is the input image itself; leave --output out to edit it in place";
    return false;
  }
  if (!std::filesystem::is_regular_file(from, code)) {
    *error = "Could not load " + input + ":\n" + (code ? code.message() : "it is not a regular file") + ".";
    return false;
  }
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, code);
  // A read-only original gives a read-only copy: the copy is ours to write.
  if (!code)
    std::filesystem::permissions(to, std::filesystem::perms::owner_write, std::filesystem::perm_options::add, code);
  if (code) {
    *error = "Could not copy " + input + " to " + output + ":\n" + code.message() + ".";
    return false;
  }
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code code;
  return std::filesystem::equivalent(FsPath(a), FsPath(b), code) && !code;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  std::ifstream in(FsPath(path), std::ios::binary);
  if (!in) {
    std::error_code code;
    *error = "Could not read " + path + ":\n" +
             (std::filesystem::exists(FsPath(path), code) ? "it cannot be opened for reading" : "no such file") + ".";
    return false;
  }
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    *error = "Could not read " + path + ":\na read failed.";
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* error) {
  PendingFile pending(path);
  std::ofstream out(FsPath(pending.Path()), std::ios::binary | std::ios::trunc);
  if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) {
    *error = "Could not write " + path + ":\nit cannot be opened or written.";
    return false;
  }
  return pending.Commit(error);
}

}  // namespace Cli
