#include "framework/CFileDialog.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter)
    : OpenFileDialog(openFileDialog),
      DefaultExtension(defaultExtension),
      FileName(fileName),
      Flags(flags),
      Filter(filter) {}
