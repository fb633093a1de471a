// A save never reverts what another program wrote without a question: when the file changed
// on disk since it was loaded, Save (and the Yes of "Save changes to NAME?") asks first.

#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"
#include "ui/FileName.h"

bool CEditorDlg::AskSaveOverChanges() {
  const CString question = FileNameOf(g_rom.Path) + CString(" has changed on disk since it was loaded. Save over it?");
  // No is the default: Enter alone does not throw away what the other program wrote.
  return MessageBox(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}
