// The handlers that keep the fields and the shown record of g_rom.EsperTable in step.
//
// Box index and table value: esper box item e is record e; spell box item i is spell i - 1
// (item 0, "No Spell", is 0xFF); bonus box item i is bonus i (item 255, "No Bonus", is 0xFF).
// Every change handler exchanges from the controls, stores one value 0..255 into one slot of
// the shown record, and exchanges back.

#include "framework/CDataExchange.h"
#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"

EsperRecord* CEditorDlg::ShownRecord() {
  const int e = EsperBox.GetCurSel();
  if (e < 0 || e >= static_cast<int>(g_rom.EsperTable.size())) return nullptr;
  return &g_rom.EsperTable[static_cast<std::size_t>(e)];
}

void CEditorDlg::OnSelchangeEsper() {
  // The record is looked up afresh for every slot, as the esper box could in principle change.
  for (int pair = 1; pair <= PairCount; ++pair) {
    if (EsperRecord* record = ShownRecord()) Rate(pair) = static_cast<UINT>((*record)[RateSlot(pair)] & 0xFF);
    if (EsperRecord* record = ShownRecord()) SpellBox(pair).SelectRemember(((*record)[SpellSlot(pair)] + 1) & 0xFF);
  }
  if (EsperRecord* record = ShownRecord()) BonusBox.SelectRemember((*record)[BonusSlot] & 0xFF);
  UpdateData(FALSE);
}

// The exchange towards the members. When a field is refused (the framework has shown its
// prompt), the rates go back to what the record holds, so nothing refused is ever stored
// and the prompt does not come back at the next change of another field.
bool CEditorDlg::ExchangeFromControls() {
  if (UpdateData(TRUE)) return true;
  if (EsperRecord* record = ShownRecord())
    for (int pair = 1; pair <= PairCount; ++pair) Rate(pair) = static_cast<UINT>((*record)[RateSlot(pair)] & 0xFF);
  return false;
}

void CEditorDlg::StoreField(int slot, int value) {
  if (EsperRecord* record = ShownRecord()) (*record)[slot] = value;
  UpdateData(FALSE);
}

void CEditorDlg::ChangeRate(int pair) {
  if (!ShownRecord()) return;  // no esper yet: nothing to edit
  if (!ExchangeFromControls()) {
    UpdateData(FALSE);
    // Writing the stored value back left the caret in front of it: select it, so that the
    // next key replaces it rather than making a new number with it.
    SendDlgItemMessage(IDC_RATE1 + pair - 1, EM_SETSEL, 0, -1);
    return;
  }
  StoreField(RateSlot(pair), static_cast<int>(Rate(pair) & 0xFF));
}

void CEditorDlg::ChangeSpell(int pair) {
  if (!ShownRecord()) return;
  ExchangeFromControls();  // the pick stands even when a rate field was refused
  StoreField(SpellSlot(pair), (SpellBox(pair).GetCurSel() - 1) & 0xFF);
}

void CEditorDlg::OnSelchangeBonus() {
  if (!ShownRecord()) return;
  ExchangeFromControls();
  StoreField(BonusSlot, BonusBox.GetCurSel() & 0xFF);
}

void CEditorDlg::OnChangeRate1() { ChangeRate(1); }
void CEditorDlg::OnChangeRate2() { ChangeRate(2); }
void CEditorDlg::OnChangeRate3() { ChangeRate(3); }
void CEditorDlg::OnChangeRate4() { ChangeRate(4); }
void CEditorDlg::OnChangeRate5() { ChangeRate(5); }
void CEditorDlg::OnChangeRate6() { ChangeRate(6); }
void CEditorDlg::OnSelchangeSpell1() { ChangeSpell(1); }
void CEditorDlg::OnSelchangeSpell2() { ChangeSpell(2); }
void CEditorDlg::OnSelchangeSpell3() { ChangeSpell(3); }
void CEditorDlg::OnSelchangeSpell4() { ChangeSpell(4); }
void CEditorDlg::OnSelchangeSpell5() { ChangeSpell(5); }
void CEditorDlg::OnSelchangeSpell6() { ChangeSpell(6); }
