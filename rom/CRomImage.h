#pragma once
// The ROM image the editor works on: the whole file in memory, its header offset, a byte
// cursor addressed by ROM offset, and everything derived from it (esper table, name lists).
// The file is open only inside LoadFile and SaveFile; every edit goes to memory until Save.
//
// Bounds: no operation reads or writes outside Buffer or EsperTable. The cursor operations
// treat a position past the bytes held as empty: a read there gives 0, a write there is
// dropped, and the cursor still advances. The load path refuses a file that does not reach
// every location (CheckImageExtent), so a loaded image never meets this case.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/CFile.h"
#include "framework/CMemoryDC.h"
#include "framework/CString.h"
#include "rom/EsperRecord.h"
#include "rom/FileFingerprint.h"
#include "rom/RomLayout.h"

class CRomImage {
 public:
  CRomImage();
  CRomImage(const CRomImage&) = delete;
  CRomImage& operator=(const CRomImage&) = delete;
  virtual ~CRomImage();

  // --- The file (load and save) ---

  // Runs the open-file dialog; on 1 Path holds the chosen file, on 0 nothing changes.
  int ChooseFile();
  void SetPath(const CString& path);
  // Reads the whole file at Path into Buffer. Returns 0, with ErrorText saying why and no
  // image held, when the file cannot be opened for reading and writing or read whole.
  // RecordSize, the name lists and EsperTable keep what an earlier load left. Tools that
  // only look at an image may open it with CFile::modeRead; the editor always asks for both.
  int LoadFile(unsigned openMode = CFile::modeReadWrite);

  // The load sequence, written once for every caller: LoadFile, the header size of the image's
  // length (RomLayout::HeaderSizeOf), CheckImageExtent, CheckEsperCode and ReadEsperData.
  // LoadImage runs it on the file at Path up to the stage asked for; false, with ErrorText
  // saying why and no image held, when a step refuses the file.
  enum class LoadStage {
    Header,     // LoadFile and the header size: any length (tools that only look at bytes)
    Extent,     // and CheckImageExtent: every location the editor touches is there
    EsperData,  // and ReadKnownEsperData: the Load command's whole sequence
  };
  bool LoadImage(LoadStage upTo = LoadStage::EsperData, unsigned openMode = CFile::modeReadWrite);
  // The rest of the sequence after LoadImage(LoadStage::Extent): CheckEsperCode, then
  // ReadEsperData. False when CheckEsperCode refuses the image.
  bool ReadKnownEsperData();

  std::uint32_t GetImageLength() const { return ImageLength; }
  void SetHeaderSize(int size) { HeaderSize = size; }
  // After SetHeaderSize: true when the image reaches every location the editor touches.
  // Otherwise releases the image (none held), says why in ErrorText and returns false.
  bool CheckImageExtent();
  // After CheckImageExtent: true when both record-size probes agree on a size the editor knows
  // (KnownEsperCode). Otherwise releases the image, says why in ErrorText and returns false: an
  // image whose esper code the editor does not know is neither patched nor edited.
  bool CheckEsperCode();
  // Probes that agree on 11 (five-slot code, which the load patches) or on 13 and above (a row
  // holds every field the dialog shows; rows past 32 bytes are edited in their first 32).
  static constexpr bool KnownEsperCode(std::uint8_t probeA, std::uint8_t probeB) {
    return probeA == probeB && (probeA == RomLayout::FiveSlotRecordSize || probeA >= RomLayout::SixSlotRecordSize);
  }
  // Writes the 27 records of EsperTable into the esper data block of Buffer, RecordSize
  // bytes each: Save's first step, and what a save would write before it reaches the disk.
  void StoreRecords();
  // StoreRecords (which stays done even when what follows fails), then WriteImage.
  bool SaveFile(bool overChanges = false);
  // Writes the first ImageLength bytes of Buffer over the file at Path from offset 0; the
  // bytes past them stay as the file holds them now, and the file keeps its length.
  //
  // A save never reverts what another program wrote: when the file no longer holds what the
  // last load read (Loaded), nothing is written and ChangedOnDisk is set, unless overChanges.
  //
  // The file is old or new, never mixed: a regular file with one link whose owner, group and
  // mode a new file can take is replaced whole (FileSystem::Replace), the link that led to it
  // kept. Any other file is written in place, only where it changes, in SaveOrder's order,
  // flushed before the last run; a write that stops half-way puts back what the file held.
  //
  // Returns false with ErrorText saying why when it could not be written. A close that fails
  // after an in-place write and flush, on a file that reads back as the image, is no failure:
  // true, with Warning saying what happened (empty after a save without one).
  bool WriteImage(bool overChanges = false);
  bool HoldsImage() const { return Buffer != nullptr; }
  // The message for a failed step on this image: "Could not ACTION PATH:\nREASON.", where the
  // reason is ErrorText, or says that none was given. shownPath stands for Path when given;
  // else Path as the file system shows it.
  CString FailureMessage(const char* action) const;
  CString FailureMessage(const char* action, const CString& shownPath) const;

  // --- Byte cursor and reads by ROM offset (ROM offset + HeaderSize = file offset) ---

  void SeekRom(std::uint64_t romOffset);
  std::uint8_t ReadByte();
  void WriteByte(int value);  // stores the low 8 bits
  std::uint8_t PeekByte(std::uint64_t romOffset) const;
  // A fixed-width name field: up to its first 0x00, or all width bytes when it has none.
  // With LargeImage, 0x00 bytes read as 0x20 and the result is always width bytes.
  CString ReadText(int width, std::uint64_t romOffset) const;

  // --- Esper data (EsperData.cpp) ---

  // The load sequence: record-size probe, six-slot code patch when the record size is 11,
  // the 27 records, the three name lists.
  void ReadEsperData();
  // count records of size bytes from/to the block that starts at romOffset: record i is at
  // romOffset + i * size. Only rows of the table and a row's first 32 slots are read into or
  // written from; the bytes of a longer record past its 32nd are never touched.
  void ReadRecords(int count, int size, EsperRecords& table, std::uint64_t romOffset);
  void WriteRecords(int count, int size, const EsperRecords& table, std::uint64_t romOffset);
  void ApplySixSlotPatch();

  // --- Five-slot to six-slot data shift (FiveToSixShift.cpp) ---

  // True when the shift may run: an image is held, its rows are 13 bytes, and its records
  // have not been shifted since it was loaded. Otherwise false with ErrorText saying why.
  bool CheckShift();
  // Moves the 27 five-slot records of the esper data block into the six-slot layout, in
  // Buffer and in EsperTable, as edited: the table is stored first (StoreRecords); returns true. Changes nothing and
  // returns false when CheckShift refuses (shifting rows of another size, or shifting twice, scrambles the records).
  bool ShiftFiveToSix();

  // --- State, in this order ---

  CFile File;                              // closed between operations
  std::unique_ptr<std::uint8_t[]> Buffer;  // the whole file; null when no image is held
  CString Path;                            // UTF-8
  std::uint64_t Cursor = 0;                // a file offset
  int LargeImage = 0;                      // 1 when the file is longer than 0x7FFFFF bytes
  int RecordSize = 11;                     // bytes per esper record; kept from one load to the next
  int HeaderSize = 0;                      // file bytes before ROM offset 0
  std::uint32_t ImageLength = 0;           // bytes that form the image and that Save writes
  CMemoryDC GlyphSheet;                    // the font in three colour schemes (BuildSheets)
  CMemoryDC PaletteSheet;                  // the palette swatches (BuildSheets)
  std::array<std::uint8_t, 16> HexDigits{};
  std::array<CString, RomLayout::BonusLabelCount> BonusNames;
  std::array<CString, 31> EsperNames;  // 27 filled
  std::array<CString, 57> SpellNames;  // 54 filled
  EsperRecords EsperTable{};

  std::uint64_t BufferSize = 0;  // bytes held in Buffer (the whole file)
  FileFingerprint Loaded;        // the file as the last LoadFile read it, before any patch
  CString ErrorText;             // why the last load step, SaveFile or CheckShift failed
  CString Warning;               // what went wrong in the last WriteImage without failing it
  bool RecordsShifted = false;   // once ShiftFiveToSix has run on the image held
  bool ChangedOnDisk = false;    // the last WriteImage wrote nothing: the file changed since it was loaded

 private:
  void ReleaseImage();
  // The last image's buffer after a release, and the file's bytes a save read back before
  // writing: kept so that a load of a file no longer than one loaded before, and a save, take
  // no new memory. Capacity: the bytes each buffer holds room for (BufferSize and less).
  std::unique_ptr<std::uint8_t[]> Spare;
  std::uint64_t SpareCapacity = 0;
  std::uint64_t BufferCapacity = 0;
  std::vector<std::uint8_t> Before;  // the whole file
  // Opens File at Path; false with ErrorText saying why.
  bool OpenFile(unsigned openMode);
  // After OpenFile: says why in ErrorText, closes the file and returns false.
  bool CloseAndFail(const CString& why);
  // The file at Path holds the first ImageLength bytes of Buffer (read into Before).
  bool ReadsBackAsImage();
  // WriteImage's two ways, after Before holds the file: a new file in its place, or the runs
  // that change written into it.
  bool ReplaceWhole(FileSystem::Replacement& replacement);
  bool WriteChangedRuns();
  std::uint64_t FileOffset(std::uint64_t romOffset) const { return romOffset + static_cast<unsigned int>(HeaderSize); }
};

// The one image of the program, a global as the editor's design has it. Defined in ui/ beside
// the application object, so that the two are built in a fixed order; render/'s
// CGameTextComboBox reads it as well, to draw names in the image's font: the one edge that
// points upward, from render/ to an object ui/ defines.
extern CRomImage g_rom;
