// Nothing the user changed is thrown away without a question: ending the editor (Exit, Enter,
// Escape, the close box, the end of the desktop session) and Load ask "Save changes to NAME?"
// while changes are unsaved, and go on only when they are saved or the user says No.

#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"
#include "ui/FileName.h"

bool CEditorDlg::HasUnsavedChanges() const {
  return RomLoaded && g_rom.HoldsImage() && (ShiftedSinceSaved || g_rom.EsperTable != SavedRecords);
}

void CEditorDlg::RememberSavedRecords() {
  SavedRecords = g_rom.EsperTable;
  ShiftedSinceSaved = false;
}

bool CEditorDlg::AskSaveChanges() {
  if (!HasUnsavedChanges()) return true;
  const CString question = CString("Save changes to ") + FileNameOf(g_rom.Path) + CString("?");
  switch (MessageBox(question, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: return SaveImage();  // a failed save keeps the editor, and every edit, open
    case IDNO: DropRecovery(); return true;
    default: return false;
  }
}

void CEditorDlg::OnOK() {
  if (!UpdateData(TRUE)) return;  // the framework has shown why; the editor stays
  if (AskSaveChanges()) EndDialog(IDOK);
}

void CEditorDlg::OnCancel() {
  if (AskSaveChanges()) CDialog::OnCancel();
}

BOOL CEditorDlg::OnQueryEndSession() { return AskSaveChanges() ? TRUE : FALSE; }
