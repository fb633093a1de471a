#include "framework/CWinApp.h"

#include "framework/Backend.h"

namespace {
CWinApp* TheApp = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) { TheApp = this; }

CWinApp::~CWinApp() {
  if (TheApp == this) TheApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  if (m_pszAppName.IsEmpty()) m_pszAppName = Backend::ApplicationName();
  InitInstance();  // the program runs inside it: a modal dialog, and then nothing
  return 0;
}

HICON CWinApp::LoadIcon(UINT id) const { return Backend::LoadAppIcon(id); }

CWinApp* AfxGetApp() { return TheApp; }

CWnd* AfxGetMainWnd() { return TheApp ? TheApp->m_pMainWnd : nullptr; }
