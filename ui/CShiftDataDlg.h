#pragma once
// Asks before "5->6" moves five-slot esper data into the six-slot layout.

#include "framework/CDialog.h"
#include "res/resource.h"

class CShiftDataDlg : public CDialog {
 public:
  explicit CShiftDataDlg(CWnd* parent = nullptr) : CDialog(IDD_SHIFT_DATA, parent) {}

  DECLARE_MESSAGE_MAP()
};
