#pragma once
// A combo box. Item texts are byte strings (GameText, no 0x00); the control hands every
// byte 0x01..0xFF back exactly as it was added.

#include "framework/CWnd.h"

class CComboBox : public CWnd {
 public:
  int AddString(const CString& text);  // index of the new item, or CB_ERR
  void ResetContent();                 // empties the list
  int GetCount() const;
  int GetCurSel() const;  // CB_ERR when nothing is selected
  // Selects item index; an index the list lacks clears the selection (CB_ERR is returned).
  int SetCurSel(int index);
  void GetLBText(int index, CString& text) const;

  // Owner-drawn items: the parent's WM_DRAWITEM and WM_MEASUREITEM are reflected here.
  virtual void DrawItem(LPDRAWITEMSTRUCT item);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT item);

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
