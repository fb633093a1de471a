// Unsaved edits survive a crash, a kill or a session's end that asks nothing: after each
// change the editor keeps them in a recovery file in the user's state folder
// (rom/EditRecovery.h, framework/StateFolder.h), removed at a good Save or a No to "Save
// changes?". The next Load of that image offers them back when the file is still the one
// they were made on; a recovery whose image changed since is set aside, never applied.

#include <string>

#include "framework/StateFolder.h"
#include "rom/CRomImage.h"
#include "rom/EditRecovery.h"
#include "ui/CEditorDlg.h"
#include "ui/FileName.h"

void CEditorDlg::KeepRecovery() {
  if (!HasUnsavedChanges()) {
    DropRecovery();
    return;
  }
  std::string text =
      EditRecovery::Of(g_rom.Path, RecoveryImage, ShiftedSinceSaved, g_rom.EsperTable, SavedRecords).Text();
  if (text == RecoveryKept) return;
  // A state folder that cannot be written costs the safety net, not the edit: nothing is said
  // at each keystroke, and the unsaved-changes question still stands before every way out.
  CString why;
  if (UserStateFolder().Write(EditRecovery::FileNameFor(g_rom.Path), text, why)) RecoveryKept = std::move(text);
}

void CEditorDlg::DropRecovery() {
  if (RecoveryKept.empty()) return;  // only this editor's own: another image's is left alone
  UserStateFolder().Remove(EditRecovery::FileNameFor(g_rom.Path));
  RecoveryKept.clear();
}

void CEditorDlg::RecoveryAfterSave() {
  DropRecovery();
  // Edits from now on apply to the file as saved (the image written, and the rest of a longer
  // file as it stood on disk), whose fingerprint the save keeps.
  RecoveryImage = g_rom.Loaded;
}

void CEditorDlg::OfferRecovery() {
  RecoveryImage = g_rom.Loaded;
  RecoveryKept.clear();
  StateFolder& folder = UserStateFolder();
  const CString name = EditRecovery::FileNameFor(g_rom.Path);
  const std::optional<std::string> text = folder.Read(name);
  if (!text) return;
  const std::optional<EditRecovery> recovery = EditRecovery::Parse(*text);
  if (recovery && recovery->MatchOf(g_rom.Path, g_rom.Loaded) == EditRecovery::Match::OtherImage) return;
  if (!recovery || recovery->MatchOf(g_rom.Path, g_rom.Loaded) != EditRecovery::Match::Applies ||
      (recovery->Shifted && !g_rom.CheckShift())) {
    // Edits made on other bytes would land on the wrong records: kept for the user to look
    // at, under another name, and said so.
    const std::optional<CString> aside = folder.SetAside(name);
    MessageBox(CString("The unsaved changes to ") + FileNameOf(g_rom.Path) +
                   CString(" kept from an earlier session no longer match the file, so they were not applied. They "
                           "are kept in ") +
                   folder.Location() + CString(" as ") + (aside ? *aside : name) + CString("."),
               MB_OK | MB_ICONASTERISK);
    return;
  }
  if (MessageBox(CString("Recover the unsaved changes to ") + FileNameOf(g_rom.Path) + CString("?"),
                 MB_YESNO | MB_ICONQUESTION) != IDYES) {
    folder.Remove(name);
    return;
  }
  recovery->ApplyTo(g_rom);  // checked above: the shift, when one ran, can run again
  if (recovery->Shifted) ShiftedSinceSaved = true;
  OnSelchangeEsper();
  KeepRecovery();  // still unsaved, and now this editor's own
}
