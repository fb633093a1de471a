#include "framework/CComboBox.h"

#include "framework/Backend.h"

int CComboBox::AddString(const CString& text) { return Backend::AddItem(m_hWnd, text); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(Backend::Send(m_hWnd, CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return static_cast<int>(Backend::Send(m_hWnd, CB_GETCURSEL, 0, 0)); }

// The window clears the selection for an index its list lacks (the model's rule, which the
// Win32 backend makes Wine keep too).
int CComboBox::SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }

void CComboBox::GetLBText(int index, CString& text) const { text = Backend::ItemText(m_hWnd, index); }

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_DRAWITEM: DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); return TRUE;
    case WM_MEASUREITEM: MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); return TRUE;
    default: return CWnd::OnChildNotify(message, wParam, lParam, result);
  }
}
