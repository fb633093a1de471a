// The open-file dialog of the page: the browser's open picker (the File System Access API's
// where the browser has it, else the page's <input type="file" id="open-image">), with the
// same filter entries. A file the user dropped or opened on the page is taken at once, as is
// the held file loaded again after a restart.

#include "framework/CFileDialog.h"

#include <cstdlib>

#include "framework/web/PageCalls.h"
#include "framework/web/WebPage.h"

int CFileDialog::DoModal() {
  if (CString chosen = WebPage::TakePreselectedFile(); !chosen.IsEmpty()) {
    PathName = chosen;
    return IDOK;
  }
  if (const int given = WebPage::TakeGivenFile()) {
    char* path = page_take_given_file(given);
    if (!path) return IDCANCEL;
    PathName = CString(path);
    std::free(path);
    return IDOK;
  }
  const int request = WebPage::NewRequest();
  page_choose_file(request, Filter.Str().c_str());
  WebPage::Answer answer;
  {
    const WebPage::InputOnly none(nullptr);  // the picker is modal to the page
    WebPage::RunUntil([&] { return WebPage::Answered(request, &answer); });
  }
  if (answer.Value != IDOK || answer.Text.empty()) return IDCANCEL;
  PathName = CString(answer.Text);
  return IDOK;
}
