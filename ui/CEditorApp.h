#pragma once
// The application: runs the editor dialog as its main window, then ends.

#include "framework/CWinApp.h"

class CEditorApp : public CWinApp {
 public:
  CEditorApp();
  BOOL InitInstance() override;  // always FALSE: the program ends when the dialog closes

  DECLARE_MESSAGE_MAP()
};

extern CEditorApp theApp;
