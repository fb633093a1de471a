// What the page adds beside the editor: names for screen readers as tavero-cli writes them,
// "Download patch" (a BPS patch from the image as it was loaded to what Save would write, the
// patch tavero-cli's --patch makes), and whether closing the tab would lose changes.

#include <emscripten.h>

#include "formats/Bps.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/web/WebPage.h"
#include "rom/CRomImage.h"
#include "rom/SavePatch.h"
#include "rom/Transliteration.h"
#include "ui/CEditorDlg.h"

namespace {

void Tell(const std::string& text) {
  if (CWnd* main = AfxGetMainWnd()) main->MessageBox(CString(text));
}

void DownloadPatch() {
  const std::vector<std::uint8_t>& loaded = WebPage::OriginalBytes(g_rom.Path);
  const std::string name = g_rom.Path.Str().substr(g_rom.Path.Str().find_last_of('/') + 1);
  if (g_rom.HoldsImage()) g_rom.StoreRecords();  // Save's first step
  const SavePatch sides = SavePatch::Of(loaded, g_rom);
  switch (sides.Refused) {
    case SavePatch::Problem::None: break;
    case SavePatch::Problem::NotTheLoadedFile: Tell("There is no image to make a patch of: load one first."); return;
    case SavePatch::Problem::HeaderNotLeftOut:
      Tell(name + " has a header of " + std::to_string(g_rom.HeaderSize) +
           " bytes (its length modulo 0x10000); only a 512-byte copier header can be left out of a patch.");
      return;
    case SavePatch::Problem::NoChange:
      Tell("The edits change no byte of " + name + "; there is nothing to patch.");
      return;
  }
  const std::string patch = Formats::MakeBps(sides.Source, sides.Target);
  const std::size_t dot = name.find_last_of('.');
  WebPage::Download((dot == std::string::npos ? name : name.substr(0, dot)) + ".bps",
                    std::vector<std::uint8_t>(patch.begin(), patch.end()), "application/octet-stream");
}

const bool Registered = [] {
  WebPage::AddPageCommand("download-patch", &DownloadPatch);
  WebPage::SetOpenCommand(ID_FILE_LOAD);  // a file given to the page is loaded as Load loads it
  WebPage::SetHeldFile([] { return g_rom.HoldsImage() ? g_rom.Path : CString(); });
  WebPage::SetItemNamer([](const std::string& bytes) { return GameText::Transliterate(bytes); });
  // The rate fields' labels ("Spell #1:", "x") and "5->6" say little to a listener.
  for (int pair = 1; pair <= 6; ++pair)
    WebPage::SetAccessibleName(IDC_RATE1 + pair - 1, "Spell " + std::to_string(pair) + " learning rate");
  WebPage::SetAccessibleName(ID_SHIFT_DATA, "Shift the espers to six slots");
  return true;
}();

}  // namespace

// Whether closing the tab would lose changes: the browser then asks its own question.
extern "C" EMSCRIPTEN_KEEPALIVE int tavero_has_unsaved_changes() {
  auto* editor = dynamic_cast<CEditorDlg*>(AfxGetMainWnd());
  return editor && editor->m_hWnd && editor->HasUnsavedChanges() ? 1 : 0;
}
