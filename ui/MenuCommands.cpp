// The menu commands: Load, Save, Exit and "5->6".

#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"
#include "ui/CShiftDataDlg.h"
#include "ui/ListLabels.h"

void CEditorDlg::ReportFailure(const char* action) {
  MessageBox(CString("Could not ") + CString(action) + CString(" ") + g_rom.Path + CString(":\n") + g_rom.ErrorText +
             CString("."));
}

void CEditorDlg::OnFileLoad() {
  if (!g_rom.ChooseFile()) return;
  RomLoaded = 0;
  if (!g_rom.LoadFile()) {
    ReportFailure("load");
    return;
  }
  g_rom.SetHeaderSize(static_cast<int>(g_rom.GetImageLength() % 0x10000));
  if (!g_rom.CheckImageExtent()) {  // a file too short for the editor's locations
    ReportFailure("load");
    return;
  }
  RomLoaded = 1;
  g_rom.ReadEsperData();
  BuildSheets();
  // Filled with redraw off: each box repaints once when its list is complete, not per item.
  CGameTextComboBox* const boxes[] = {&SpellBox(1), &SpellBox(2), &SpellBox(3), &SpellBox(4),
                                      &SpellBox(5), &SpellBox(6), &EsperBox, &BonusBox};
  for (CGameTextComboBox* box : boxes) box->SetRedraw(FALSE);

  for (int pair = 1; pair <= 6; ++pair) SpellBox(pair).ResetContent();
  EsperBox.ResetContent();
  BonusBox.ResetContent();
  for (int pair = 1; pair <= 6; ++pair) SpellBox(pair).AddString(NoSpellText);
  for (int i = 0; i < 54; ++i)
    for (int pair = 1; pair <= 6; ++pair) SpellBox(pair).AddString(g_rom.SpellNames[static_cast<std::size_t>(i)]);
  for (int i = 0; i < 27; ++i) EsperBox.AddString(g_rom.EsperNames[static_cast<std::size_t>(i)]);
  for (int i = 0; i < 255; ++i) BonusBox.AddString(g_rom.BonusNames[static_cast<std::size_t>(i)]);
  BonusBox.AddString(NoBonusText);

  for (CGameTextComboBox* box : boxes) {
    box->SetRedraw(TRUE);
    box->Invalidate();
  }
  EsperBox.SelectRemember(0);
  OnSelchangeEsper();
}

void CEditorDlg::OnFileSave() {
  if (!RomLoaded) return;
  if (!g_rom.SaveFile()) ReportFailure("save");
}

void CEditorDlg::OnFileExit() { EndDialog(IDOK); }

void CEditorDlg::OnShiftData() {
  if (!RomLoaded) return;
  CShiftDataDlg confirm;
  if (confirm.DoModal() == IDOK) g_rom.ShiftFiveToSix();
  OnSelchangeEsper();
}
