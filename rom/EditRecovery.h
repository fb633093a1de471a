#pragma once
// Unsaved edits kept outside the image, so that a crash, a kill or a session's end that asks
// nothing loses none of them: the records that differ from the image as loaded (or last
// saved), and whether "5->6" ran since, tied to the image by its path and fingerprint. The
// editor writes one after each change and offers it back at the next Load of that image.
//
// As text, version 1, one item a line:
//   TAVERO recovery 1
//   image PATH            (bytes below 0x20, 0x7F and the backslash as \xHH)
//   length N              (the image file's length in bytes, decimal)
//   crc32 XXXXXXXX        (its CRC-32)
//   shifted 0|1           (1: "5->6" was confirmed and is to run again before the records)
//   record E XX..XX       (esper E, 0..26: slots 0..12 as 26 hex digits; each E at most once)
//   end

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/CString.h"
#include "rom/EsperRecord.h"
#include "rom/FileFingerprint.h"

class CRomImage;

struct EditRecovery {
  // The slots a recovery keeps of a row: the ones the editor's fields and the shift change.
  static constexpr int KeptSlots = BonusSlot + 1;

  CString Path;
  FileFingerprint Image;
  bool Shifted = false;
  std::vector<std::pair<int, EsperRecord>> Records;  // esper, row (slots past KeptSlots 0)

  // The recovery of the records now against those as loaded or last saved. After a shift
  // every row is kept: the shift is run again on the image as loaded, whose rows it moves.
  static EditRecovery Of(const CString& path, const FileFingerprint& image, bool shifted, const EsperRecords& now,
                         const EsperRecords& saved);

  std::string Text() const;
  // Nothing when the text is not a whole recovery of this version.
  static std::optional<EditRecovery> Parse(std::string_view text);

  // What a recovery is to an image just loaded: its own (same path and fingerprint), one of
  // another image whose name happens to hash alike (left alone), or one whose image changed
  // since (never applied).
  enum class Match { Applies, OtherImage, ImageChanged };
  Match MatchOf(const CString& path, const FileFingerprint& loaded) const;

  // Puts the edits back into the image just loaded: the shift first, when one ran, then the
  // rows. False, with nothing changed, when the shift cannot run on this image.
  bool ApplyTo(CRomImage& rom) const;

  // The recovery's file name in the state folder, one per image path, so that editors on
  // two images never write the same file.
  static CString FileNameFor(const CString& path);
};
