#pragma once
// The open-file dialog. DoModal returns IDOK when the user confirmed a file; GetPathName
// then gives its full path (UTF-8). It takes no owner; the main window, if any, owns it.
// Backends: win32/ shows the system dialog; headless/ answers from a script (HeadlessFileDialog.h).

#include "framework/CString.h"
#include "framework/WinTypes.h"

class CFileDialog {
 public:
  // filter: entries "Description|patterns|", ending with an extra '|'.
  CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY, const char* filter = nullptr);

  int DoModal();
  CString GetPathName() const { return PathName; }

  // As constructed; the backends read these, tests inspect them.
  BOOL OpenFileDialog;
  CString DefaultExtension;
  CString FileName;
  DWORD Flags;
  CString Filter;

 private:
  CString PathName;
};
