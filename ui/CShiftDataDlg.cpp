#include "ui/CShiftDataDlg.h"

BEGIN_MESSAGE_MAP(CShiftDataDlg, CDialog)
END_MESSAGE_MAP()
