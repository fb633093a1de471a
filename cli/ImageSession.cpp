#include "cli/ImageSession.h"

#include "cli/Printable.h"

namespace Cli {

std::string ImageSession::Failure(const char* action) const {
  return Rom.FailureMessage(action, CString(Printable(ShownPath.empty() ? Rom.Path.Str() : ShownPath))).Str();
}

bool ImageSession::Load(const std::string& path, std::string* error, Access access) {
  Rom.SetPath(CString(path));
  const bool writing = access == Access::Write || access == Access::WriteBytes;
  const unsigned mode = writing ? CFile::modeReadWrite : CFile::modeRead;
  BytesOnly = access == Access::WriteBytes;
  if (BytesOnly) {
    if (Rom.LoadImage(CRomImage::LoadStage::Header, mode)) return true;
    *error = Failure("load");
    return false;
  }
  // The editor's load sequence, held after its extent check to see the bytes as they are on
  // disk (ReadKnownEsperData may patch the code in memory).
  if (!Rom.LoadImage(CRomImage::LoadStage::Extent, mode)) {
    *error = Failure("load");
    return false;
  }
  ProbeA = Rom.PeekByte(RomLayout::RecordSizeProbeA);
  ProbeB = Rom.PeekByte(RomLayout::RecordSizeProbeB);
  PatchOnDisk = FindSixSlotPatch(Rom);
  Layout = LayoutOfProbes(ProbeA, ProbeB);
  if (access == Access::Describe && Layout == EsperLayout::Unknown) return true;  // described as it is
  if (!Rom.ReadKnownEsperData()) {
    *error = Failure("load");
    return false;
  }
  ProbedRecordSize = ProbeA;
  return true;
}

bool ImageSession::Save(std::string* error, std::string* warning) {
  if (BytesOnly ? Rom.WriteImage() : Rom.SaveFile()) {
    if (!Rom.Warning.IsEmpty())
      *warning = "saved " + Printable(ShownPath.empty() ? Rom.Path.Str() : ShownPath) + ", but " + Rom.Warning.Str();
    return true;
  }
  *error = Failure("save");
  return false;
}

}  // namespace Cli
