#include "framework/CFileDialog.h"

#include <vector>

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/win32/Utf16.h"

int CFileDialog::DoModal() {
  // The filter's '|' separators become the NULs that the system dialog expects.
  std::wstring filter = WidenUtf8(Filter.View());
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  std::wstring extension = WidenUtf8(DefaultExtension.View());

  std::vector<wchar_t> path(32768, L'\0');  // room for long paths
  std::wstring initial = WidenUtf8(FileName.View());
  initial.copy(path.data(), path.size() - 1);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  // No owner given: as for a dialog without a parent, the main window owns it and is disabled
  // while it runs, so the editor's menu and fields wait until the file is chosen.
  CWnd* main = AfxGetMainWnd();
  ofn.hwndOwner = main ? main->m_hWnd : nullptr;
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = Flags | OFN_EXPLORER;

  BOOL confirmed = OpenFileDialog ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
  if (!confirmed) return IDCANCEL;
  PathName = NarrowToUtf8(path.data());
  return IDOK;
}
