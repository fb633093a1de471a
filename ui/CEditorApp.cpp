#include "ui/CEditorApp.h"

#include "res/resource.h"
#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"

// The program's two objects, defined here in this order so that theApp is built before
// g_rom and outlives it, whatever order the linker puts files in.
CEditorApp theApp;
CRomImage g_rom;

BEGIN_MESSAGE_MAP(CEditorApp, CWinApp)
  ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CEditorApp::CEditorApp() : CWinApp(nullptr) {}

BOOL CEditorApp::InitInstance() {
  Enable3dControls();
  CEditorDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;  // the dialog object ends here
  return FALSE;
}
