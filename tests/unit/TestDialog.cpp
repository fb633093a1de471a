#include "TestDialog.h"

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
  ON_EN_CHANGE(FirstRateId, OnChangeFirstRate)
  ON_CBN_SELCHANGE(BoxId, OnSelchangeBox)
  ON_CONTROL(CBN_SELENDOK, BoxId, OnSelendokBox)
END_MESSAGE_MAP()
