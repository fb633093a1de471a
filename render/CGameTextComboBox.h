#pragma once
// An owner-drawn combo box whose items are GameText, drawn glyph by glyph from the glyph
// sheet of g_rom. The item holding the field's current value is marked in its own scheme.

#include "framework/CComboBox.h"

class CGameTextComboBox : public CComboBox {
 public:
  // Index of the item that holds the current value; drawn in the current scheme.
  int RememberedIndex = -1;

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;  // every item is 12 pixels high

  // Selects item n and remembers it as the current value, even when the list lacks it
  // (then nothing is selected and no item is marked).
  virtual void SelectRemember(int n);

 protected:
  // The user settled on an item: it becomes the current value. TRUE keeps the
  // notification from the parent.
  BOOL OnSelendok();

  DECLARE_MESSAGE_MAP()
};
