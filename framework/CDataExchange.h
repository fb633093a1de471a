#pragma once
// Dialog data exchange between members and controls. Towards the controls (UpdateData(FALSE))
// values are written as text; towards the members (UpdateData(TRUE)) each field is parsed and
// validated in turn, and the first that fails shows the framework's prompt, takes the focus
// and stops the exchange (UpdateData returns FALSE).

#include "framework/CWnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;

  // The edit control that the next validation refers to.
  HWND PrepareEditCtrl(int id);
  // Moves the focus to the last prepared control, selects its text, and ends the exchange.
  [[noreturn]] void Fail();

  struct Failure {};  // thrown by Fail, caught by UpdateData

 private:
  int LastControl = 0;
};

// A UINT member and the decimal text of an edit control. The text must be an unsigned
// decimal integer that fits a UINT (spaces around it are allowed); otherwise the member keeps
// its value and the exchange fails.
void DDX_Text(CDataExchange* exchange, int id, UINT& value);
// When saving: value must lie within [minimum, maximum]; the member already holds it.
void DDV_MinMaxUInt(CDataExchange* exchange, UINT value, UINT minimum, UINT maximum);
// Attaches control to the dialog's control id the first time; exchanges nothing.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);

// The framework's prompts (its own wording, not the program's).
namespace FrameworkPrompt {
inline constexpr const char* ParseUInt = "Please enter a positive integer.";
CString UIntRange(UINT minimum, UINT maximum);  // "Please enter an integer between 0 and 255."
}  // namespace FrameworkPrompt
