// The handlers that keep the fields and the shown record of g_rom.EsperTable in step, for
// every field of the record table (rom/EsperFields.h).
//
// Box index and table value: esper box item e is record e; a field with a list shows value v
// as item (v + ItemOffset) AND 0xFF (spell box item i is spell i - 1, item 0 "No Spell" is
// 0xFF; bonus box item i is bonus i, item 255 "No Bonus" is 0xFF). Every change handler
// exchanges from the controls, stores one value 0..255 into one slot of the shown record, and
// exchanges back.

#include "framework/CDataExchange.h"
#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"

EsperRecord* CEditorDlg::ShownRecord() {
  const int e = EsperBox.GetCurSel();
  if (e < 0 || e >= static_cast<int>(g_rom.EsperTable.size())) return nullptr;
  return &g_rom.EsperTable[static_cast<std::size_t>(e)];
}

void CEditorDlg::ShowField(const EsperField& field, int pair) {
  const EsperRecord* record = ShownRecord();
  if (!record) return;
  const int value = (*record)[static_cast<std::size_t>(field.Slot(pair))] & 0xFF;
  if (field.List == NameList::None)
    Edit(field, pair) = static_cast<UINT>(value);
  else
    Box(field, pair).SelectRemember((value + field.ItemOffset) & 0xFF);
}

void CEditorDlg::OnSelchangeEsper() {
  // Rate 1, spell 1, ... spell 6, then the bonus; the record is looked up afresh for every
  // field, as the esper box could in principle change.
  ForEachField(PairCount, [this](const EsperField& field, int pair) { ShowField(field, pair); });
  UpdateData(FALSE);
}

// The exchange towards the members. When a field is refused (the framework has shown its
// prompt), the typed fields go back to what the record holds, so nothing refused is ever
// stored and the prompt does not come back at the next change of another field.
bool CEditorDlg::ExchangeFromControls() {
  if (UpdateData(TRUE)) return true;
  ForEachField(PairCount, [this](const EsperField& field, int pair) {
    if (field.List == NameList::None) ShowField(field, pair);
  });
  return false;
}

void CEditorDlg::ChangeField(const EsperField& field, int pair) {
  EsperRecord* record = ShownRecord();
  if (!record) return;  // no esper yet: nothing to edit
  if (field.List != NameList::None) {
    ExchangeFromControls();  // the pick stands even when a typed field was refused
    // The box's selection is read before the record is looked up again.
    const int value = (Box(field, pair).GetCurSel() - field.ItemOffset) & 0xFF;
    if ((record = ShownRecord())) (*record)[static_cast<std::size_t>(field.Slot(pair))] = value;
    UpdateData(FALSE);
    KeepRecovery();
    return;
  }
  if (!ExchangeFromControls()) {
    UpdateData(FALSE);
    // Writing the stored value back left the caret in front of it: select it, so that the
    // next key replaces it rather than making a new number with it.
    SendDlgItemMessage(EditId(field, pair), EM_SETSEL, 0, -1);
    return;
  }
  const int value = static_cast<int>(Edit(field, pair) & 0xFF);
  if ((record = ShownRecord())) (*record)[static_cast<std::size_t>(field.Slot(pair))] = value;
  UpdateData(FALSE);
  KeepRecovery();
}

void CEditorDlg::OnChangeRate1() { ChangeField(RateField, 1); }
void CEditorDlg::OnChangeRate2() { ChangeField(RateField, 2); }
void CEditorDlg::OnChangeRate3() { ChangeField(RateField, 3); }
void CEditorDlg::OnChangeRate4() { ChangeField(RateField, 4); }
void CEditorDlg::OnChangeRate5() { ChangeField(RateField, 5); }
void CEditorDlg::OnChangeRate6() { ChangeField(RateField, 6); }
void CEditorDlg::OnSelchangeSpell1() { ChangeField(SpellField, 1); }
void CEditorDlg::OnSelchangeSpell2() { ChangeField(SpellField, 2); }
void CEditorDlg::OnSelchangeSpell3() { ChangeField(SpellField, 3); }
void CEditorDlg::OnSelchangeSpell4() { ChangeField(SpellField, 4); }
void CEditorDlg::OnSelchangeSpell5() { ChangeField(SpellField, 5); }
void CEditorDlg::OnSelchangeSpell6() { ChangeField(SpellField, 6); }
void CEditorDlg::OnSelchangeBonus() { ChangeField(BonusField, 0); }
