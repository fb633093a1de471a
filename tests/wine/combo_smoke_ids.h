#pragma once
// Resource ids of the combo box smoke program (shared by its resource script and its code).
#define IDD_SMOKE 100
#define IDI_SMOKE 101
#define IDC_COMBO 1000
#define IDC_EDIT 1001
