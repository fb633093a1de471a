// The menu commands: Load, Save, Exit and "5->6".

#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "ui/CEditorDlg.h"
#include "ui/CShiftDataDlg.h"
#include "ui/ListLabels.h"

void CEditorDlg::ReportFailure(const char* action) { MessageBox(g_rom.FailureMessage(action)); }

void CEditorDlg::OnFileLoad() {
  if (!AskSaveChanges()) return;
  if (!g_rom.ChooseFile()) return;
  LoadChosenFile();
}

void CEditorDlg::LoadChosenFile() {
  RomLoaded = 0;
  // A file that cannot be read, is too short for the editor's locations or holds esper code
  // it does not know: refused before anything is patched or shown.
  if (!g_rom.LoadImage()) {
    EnableFields(false);
    ReportFailure("load");
    return;
  }
  RomLoaded = 1;
  EnableFields(true);
  RememberSavedRecords();
  BuildSheets();
  // Filled with redraw off: each box repaints once when its list is complete, not per item.
  CGameTextComboBox* const boxes[] = {&SpellBox(1), &SpellBox(2), &SpellBox(3), &SpellBox(4),
                                      &SpellBox(5), &SpellBox(6), &EsperBox,    &BonusBox};
  for (CGameTextComboBox* box : boxes) box->SetRedraw(FALSE);

  for (int pair = 1; pair <= PairCount; ++pair) SpellBox(pair).ResetContent();
  EsperBox.ResetContent();
  BonusBox.ResetContent();
  for (int pair = 1; pair <= PairCount; ++pair) SpellBox(pair).AddString(NoSpellText);
  for (int i = 0; i < RomLayout::SpellNameCount; ++i)
    for (int pair = 1; pair <= PairCount; ++pair)
      SpellBox(pair).AddString(g_rom.SpellNames[static_cast<std::size_t>(i)]);
  for (int i = 0; i < RomLayout::EsperCount; ++i) EsperBox.AddString(g_rom.EsperNames[static_cast<std::size_t>(i)]);
  for (int i = 0; i < RomLayout::BonusLabelCount; ++i)
    BonusBox.AddString(g_rom.BonusNames[static_cast<std::size_t>(i)]);
  BonusBox.AddString(NoBonusText);

  for (CGameTextComboBox* box : boxes) {
    box->SetRedraw(TRUE);
    box->Invalidate();
  }
  EsperBox.SelectRemember(0);
  OnSelchangeEsper();
  OfferRecovery();
}

void CEditorDlg::OnFileSave() { SaveImage(); }

bool CEditorDlg::SaveImage() {
  if (!RomLoaded) return true;
  bool saved = g_rom.SaveFile();
  if (!saved && g_rom.ChangedOnDisk) {
    if (!AskSaveOverChanges()) return false;  // nothing written, every edit kept
    saved = g_rom.SaveFile(true);
  }
  if (!saved) {
    ReportFailure("save");
    return false;
  }
  RememberSavedRecords();
  RecoveryAfterSave();
  return true;
}

void CEditorDlg::OnFileExit() {
  if (AskSaveChanges()) EndDialog(IDOK);
}

void CEditorDlg::OnShiftData() {
  if (!RomLoaded) return;
  if (!g_rom.CheckShift()) {  // no question asked when the answer could only spoil the records
    ReportFailure("shift");
    return;
  }
  CShiftDataDlg confirm;
  if (confirm.DoModal() == IDOK && g_rom.ShiftFiveToSix()) ShiftedSinceSaved = true;
  OnSelchangeEsper();
  KeepRecovery();
}
