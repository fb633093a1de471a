#pragma once
// The application object. The platform's entry point calls InitInstance on the one instance.

#include "framework/CCmdTarget.h"
#include "framework/CString.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  // A null name takes the executable's file name; it captions the framework's prompts.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance();
  // Runs the program: InitInstance, and nothing more when it returns FALSE. Returns the exit code.
  int Run();

  void Enable3dControls() {}  // every system since has 3-D controls
  HICON LoadIcon(UINT id) const;
  void OnHelp() {}  // the program has no help file

  CString m_pszAppName;
  CWnd* m_pMainWnd = nullptr;
  // A file the program was started with (its first argument, as "Open with" passes it), as a
  // full path; empty for none. The entry point sets it before InitInstance.
  CString FileToOpen;
};

CWinApp* AfxGetApp();
// The application's main window, or null.
CWnd* AfxGetMainWnd();
