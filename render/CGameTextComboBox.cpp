#include "render/CGameTextComboBox.h"

#include "framework/CDC.h"
#include "render/GameTextDrawing.h"
#include "rom/CRomImage.h"

BEGIN_MESSAGE_MAP(CGameTextComboBox, CComboBox)
  ON_CONTROL_REFLECT_EX(CBN_SELENDOK, OnSelendok)
END_MESSAGE_MAP()

void CGameTextComboBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = 12; }

void CGameTextComboBox::SelectRemember(int n) {
  SetCurSel(n);
  RememberedIndex = n;
}

BOOL CGameTextComboBox::OnSelendok() {
  RememberedIndex = GetCurSel();
  return TRUE;
}

void CGameTextComboBox::DrawItem(LPDRAWITEMSTRUCT item) {
  if (item->itemID == static_cast<UINT>(-1)) return;  // no item: draw nothing at all

  const bool selectionField = (item->itemState & ODS_COMBOBOXEDIT) != 0;
  ColourScheme scheme = ColourScheme::Normal;
  if ((item->itemState & (ODS_SELECTED | ODS_FOCUS)) && !selectionField)
    scheme = ColourScheme::Highlight;
  else if (static_cast<int>(item->itemID) == RememberedIndex && !selectionField)
    scheme = ColourScheme::Current;

  CDC dc;  // not ours: attached for the call only
  dc.Attach(item->hDC);
  dc.FillSolidRect(&item->rcItem, SchemeColours(scheme)[0]);

  CString text;
  GetLBText(static_cast<int>(item->itemID), text);
  const int penX = item->rcItem.left + (selectionField ? 4 : 6);
  const int penY = item->rcItem.top + (selectionField ? 3 : 0);
  DrawGameText(dc, penX, penY + 4, text.View(), scheme, g_rom.GlyphSheet);
  dc.Detach();
}
