// Load, then any sequence of what a user can do to the fields and the menu: picks of any
// index, typing (over a field or at its caret) and pasting any text, "5->6" answered any
// way, Save. The file is written in place only, never resized, and nothing refused is ever
// stored as a rate.

#include "FuzzedImage.h"
#include "framework/headless/HeadlessFileDialog.h"
#include "framework/headless/HeadlessUser.h"
#include "rom/CRomImage.h"
#include "ui/CEditorDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  CEditorDlg& editor = FuzzedEditor();
  const std::string& path = WriteFuzzedImage(input);
  const std::size_t length = ProcessMemoryFiles().Contents(path).size();
  Headless::AnswerFileDialog(CString(path.c_str()));
  Headless::PressCommand(editor, ID_FILE_LOAD);
  Headless::ClearModalScripts();

  int saves = 0;  // each writes megabytes: a few per run keep runs short and say as much
  for (int steps = 0; steps < 64 && input.remaining_bytes() > 0; ++steps) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
      case 0:
        Headless::PickItem(editor, input.ConsumeIntegralInRange(IDC_ESPER, IDC_BONUS),
                           input.ConsumeIntegralInRange(-2, 300));
        break;
      case 1: {  // over the whole text, or at the caret
        const int field = input.ConsumeIntegralInRange(IDC_RATE1, IDC_RATE6);
        const bool over = input.ConsumeBool();
        const std::string keys = input.ConsumeRandomLengthString(12);
        if (over)
          Headless::TypeOver(editor, field, keys);
        else
          Headless::TypeText(editor, field, keys);
        break;
      }
      case 2:
        Headless::PasteText(editor, input.ConsumeIntegralInRange(IDC_RATE1, IDC_RATE6),
                            input.ConsumeRandomLengthString(12));
        break;
      case 3:
        if (input.ConsumeBool()) Headless::AnswerNextModal(input.ConsumeBool() ? IDOK : IDCANCEL);
        Headless::PressCommand(editor, ID_SHIFT_DATA);
        Headless::ClearModalScripts();
        break;
      case 4:
        if (saves++ < 3) Headless::PressCommand(editor, ID_FILE_SAVE);
        break;
      case 5: editor.OnSelchangeEsper(); break;
      default:
        // Enter: validates every field and, with changes unsaved, asks whether to save them.
        Headless::AnswerNextMessageBox(input.PickValueInArray({IDYES, IDNO, IDCANCEL}));
        Headless::PressCommand(editor, IDOK);
        break;
    }
    for (const EsperRecord& record : g_rom.EsperTable)
      for (int slot : record)
        if (slot < 0 || slot > 0xFF) std::abort();  // only byte values are ever stored
  }
  Headless::ClearMessageBoxes();
  if (ProcessMemoryFiles().Contents(path).size() != length) std::abort();
  return 0;
}
