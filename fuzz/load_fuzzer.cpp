// The Load command on any file: the file dialog answered, LoadFile, the header, the size
// check, the esper data, the sheets, the boxes filled and the fields refreshed; then every
// item of the boxes drawn. A file is either loaded or refused with a message.

#include <cstdlib>

#include "FuzzedImage.h"
#include "framework/CMemoryDC.h"
#include "framework/headless/HeadlessFileDialog.h"
#include "framework/headless/HeadlessUser.h"
#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  CEditorDlg& editor = FuzzedEditor();
  Headless::ClearMessageBoxes();
  Headless::AnswerFileDialog(CString(WriteFuzzedImage(input).c_str()));
  Headless::PressCommand(editor, ID_FILE_LOAD);

  if (!editor.RomLoaded) {
    if (Headless::MessageBoxes().size() != 1) std::abort();  // refused, and said so once
    return 0;
  }
  static CMemoryDC* target = [] {
    auto* dc = new CMemoryDC;
    dc->CreateCompatibleDC(nullptr);
    dc->Bitmap.CreateCompatibleBitmap(nullptr, 128, 16);
    dc->SelectObject(&dc->Bitmap);
    return dc;
  }();
  for (int id = IDC_ESPER; id <= IDC_BONUS; ++id) {
    int count = static_cast<int>(Headless::Control(editor, id)->Items.size());
    for (int item = -1; item < count; item += 7)
      Headless::DrawComboItem(editor, id, item, item % 2 ? ODS_SELECTED : 0, RECT{0, 2, 128, 14}, target->GetSafeHdc());
  }
  return 0;
}
