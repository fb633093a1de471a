#include "framework/CDataExchange.h"

#include <cctype>
#include <limits>
#include <string>

#include "framework/Backend.h"

CString FrameworkPrompt::UIntRange(UINT minimum, UINT maximum) {
  return CString("Please enter an integer between " + std::to_string(minimum) + " and " + std::to_string(maximum) +
                 ".");
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  LastControl = id;
  return m_pDlgWnd->GetDlgItem(id);
}

void CDataExchange::Fail() {
  if (LastControl) {
    // The field the prompt was about takes the focus with its text selected, ready to retype.
    HWND field = m_pDlgWnd->GetDlgItem(LastControl);
    Backend::Focus(field);
    Backend::Send(field, EM_SETSEL, 0, -1);
  }
  throw Failure{};
}

namespace {
// Digits only, with optional spaces around them, within UINT.
bool ParseUInt(std::string_view text, UINT& value) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  if (text.empty()) return false;
  unsigned long long parsed = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    parsed = parsed * 10 + static_cast<unsigned>(c - '0');
    if (parsed > std::numeric_limits<UINT>::max()) return false;
  }
  value = static_cast<UINT>(parsed);
  return true;
}
}  // namespace

void DDX_Text(CDataExchange* exchange, int id, UINT& value) {
  HWND control = exchange->PrepareEditCtrl(id);
  if (!exchange->m_bSaveAndValidate) {
    // A field that already shows the value keeps its text ("042" stays): writing it again
    // would put the caret of a field the user is typing in back to its start.
    UINT shown = 0;
    if (ParseUInt(Backend::GetText(control).View(), shown) && shown == value) return;
    Backend::SetText(control, CString(std::to_string(value)));
    return;
  }
  if (!ParseUInt(Backend::GetText(control).View(), value)) {
    exchange->m_pDlgWnd->MessageBox(FrameworkPrompt::ParseUInt);
    exchange->Fail();
  }
}

void DDV_MinMaxUInt(CDataExchange* exchange, UINT value, UINT minimum, UINT maximum) {
  if (!exchange->m_bSaveAndValidate || (value >= minimum && value <= maximum)) return;
  exchange->m_pDlgWnd->MessageBox(FrameworkPrompt::UIntRange(minimum, maximum));
  exchange->Fail();
}

void DDX_Control(CDataExchange* exchange, int id, CWnd& control) {
  if (control.m_hWnd) return;
  control.SubclassDlgItem(static_cast<UINT>(id), exchange->m_pDlgWnd);
}
