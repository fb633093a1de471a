#include "cli/ImageSession.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "rom/RomLayout.h"

namespace Cli {

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

namespace {

std::string EditorFailure(const char* action, const CString& path, const CString& reason) {
  return std::string("Could not ") + action + " " + path.Str() + ":\n" + reason.Str() + ".";
}

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

bool ImageSession::Load(const std::string& path, std::string* error, bool forWriting) {
  Rom.SetPath(CString(path));
  if (!Rom.LoadFile(forWriting ? CFile::modeReadWrite : CFile::modeRead)) {
    *error = EditorFailure("load", Rom.Path, Rom.ErrorText);
    return false;
  }
  Rom.SetHeaderSize(static_cast<int>(Rom.GetImageLength() % 0x10000));
  if (!Rom.CheckImageExtent()) {
    *error = EditorFailure("load", Rom.Path, Rom.ErrorText);
    return false;
  }
  ProbeA = Rom.PeekByte(RomLayout::RecordSizeProbeA);
  ProbeB = Rom.PeekByte(RomLayout::RecordSizeProbeB);
  PatchOnDisk = FindPatch(Rom);

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
  *error = EditorFailure("save", Rom.Path, Rom.ErrorText);
  return false;
}

bool CopyForOutput(const std::string& input, const std::string& output, bool* created, std::string* error) {
  std::error_code code;
  const std::filesystem::path from = FsPath(input), to = FsPath(output);
  const bool existed = std::filesystem::exists(to, code);
  *created = !existed;
  if (existed && SameFile(input, output)) {
    *error = "--output " + output + " is the input image itself; leave --output out to edit it in place";
    *created = false;
    return false;
  }
  if (!std::filesystem::is_regular_file(from, code)) {
    *error = "Could not load " + input + ":\n" + (code ? code.message() : "it is not a regular file") + ".";
    *created = false;
    return false;
  }
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, code);
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
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) {
    *error = "Could not write " + path + ":\nit cannot be opened or written.";
    return false;
  }
  return true;
}

}  // namespace Cli
