#pragma once
// An edit control; its text goes through CWnd::SetWindowText and GetWindowText.

#include "framework/CWnd.h"

class CEdit : public CWnd {};
