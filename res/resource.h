// Resource identifiers of the editor; shared by the resource script and the code.
#pragma once

#define IDD_EDITOR 102
#define IDR_MENU 129
#define IDD_SHIFT_DATA 130
#define IDR_MAINFRAME 131

#define IDC_ESPER 1000
#define IDC_SPELL1 1001
#define IDC_SPELL2 1002
#define IDC_SPELL3 1003
#define IDC_SPELL4 1004
#define IDC_SPELL5 1005
#define IDC_SPELL6 1006
#define IDC_BONUS 1007
#define IDC_RATE1 1008
#define IDC_RATE2 1009
#define IDC_RATE3 1010
#define IDC_RATE4 1011
#define IDC_RATE5 1012
#define IDC_RATE6 1013

#define ID_FILE_LOAD 32771
#define ID_FILE_EXIT 32772
#define ID_SHIFT_DATA 32773
#define ID_FILE_SAVE 0xE103
#define ID_HELP 0xE146
