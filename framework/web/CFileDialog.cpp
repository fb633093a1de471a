// The open-file dialog of the page: the browser's open picker (the File System Access API's
// where the browser has it, else the page's <input type="file" id="open-image">), with the
// same filter entries. A file the user dropped or opened on the page is taken at once.

#include "framework/CFileDialog.h"

#include <emscripten.h>

#include "framework/web/WebPage.h"

namespace {
// The page's JavaScript, which the formatter would take for C++ ("===" became "== =").
// clang-format off
EM_JS(void, PageChooseFile, (int request, const char* filter),
      { TaveroPage.chooseFile(request, UTF8ToString(filter)); });
// clang-format on
}  // namespace

int CFileDialog::DoModal() {
  if (CString chosen = WebPage::TakePreselectedFile(); !chosen.IsEmpty()) {
    PathName = chosen;
    return IDOK;
  }
  const int request = WebPage::NewRequest();
  PageChooseFile(request, Filter.Str().c_str());
  WebPage::Answer answer;
  {
    const WebPage::InputOnly none(nullptr);  // the picker is modal to the page
    WebPage::RunUntil([&] { return WebPage::Answered(request, &answer); });
  }
  if (answer.Value != IDOK || answer.Text.empty()) return IDCANCEL;
  PathName = CString(answer.Text);
  return IDOK;
}
