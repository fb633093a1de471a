#include "EditorFixture.h"
#include "ui/CEditorApp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The editor as it starts, and how it ends.
class EditorStart : public EditorFixture {};

TEST_F(EditorStart, StartsEmptyWithZeroRatesAndTheIcon) {
  EXPECT_EQ(Dialog->m_hWnd->Text, "TAVERO");
  for (int id = IDC_RATE1; id <= IDC_RATE6; ++id) EXPECT_EQ(FieldText(id), "0");
  for (int id = IDC_ESPER; id <= IDC_BONUS; ++id) EXPECT_EQ(Count(id), 0);
  EXPECT_EQ(Dialog->RomLoaded, 0);
  EXPECT_TRUE(g_rom.Path.IsEmpty());
  ASSERT_NE(Dialog->AppIcon, nullptr);
  EXPECT_EQ(Dialog->m_hWnd->Icons[0], Dialog->AppIcon);
  EXPECT_EQ(Dialog->m_hWnd->Icons[1], Dialog->AppIcon);
  EXPECT_EQ(Dialog->SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(Dialog->AppIcon));
  EXPECT_EQ(&theApp, AfxGetApp());
}

TEST_F(EditorStart, TemplatesHoldTheirControlsInTabOrder) {
  const Headless::DialogTemplate* editor = Headless::FindTemplate(IDD_EDITOR);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->Extended);
  EXPECT_EQ(editor->Style, 0x90CA00C0u);
  EXPECT_EQ(editor->ExStyle, 0x00040000u);
  EXPECT_EQ(editor->Menu, IDR_MENU);
  EXPECT_EQ(editor->FontName, "Courier");
  ASSERT_EQ(editor->Controls.size(), 28u);
  for (int i = 0; i < 8; ++i) {
    const auto& combo = editor->Controls[static_cast<std::size_t>(i)];
    EXPECT_EQ(combo.Id, IDC_ESPER + i);
    EXPECT_EQ(combo.Style, 0x50210A23u);
  }
  for (int i = 8; i < 22; ++i) EXPECT_EQ(editor->Controls[static_cast<std::size_t>(i)].Id, -1);
  for (int i = 22; i < 28; ++i) {
    const auto& edit = editor->Controls[static_cast<std::size_t>(i)];
    EXPECT_EQ(edit.Id, IDC_RATE1 + i - 22);
    EXPECT_EQ(edit.Style, 0x50812000u);
    EXPECT_EQ(edit.X, 110);
  }
  EXPECT_EQ(editor->Controls[7].Height, 160);  // the bonus box drops further
  EXPECT_EQ(editor->Controls[21].Text, "Level Up Bonus:");

  const Headless::DialogTemplate* shift = Headless::FindTemplate(IDD_SHIFT_DATA);
  ASSERT_NE(shift, nullptr);
  EXPECT_FALSE(shift->Extended);
  EXPECT_EQ(shift->Style, 0x80C800C0u);
  EXPECT_EQ(shift->Caption, "Shift Data?");
  ASSERT_EQ(shift->Controls.size(), 3u);
  EXPECT_EQ(shift->Controls[0].Style, 0x50010001u);  // OK is the default button
  EXPECT_EQ(shift->Controls[2].Text, "This will shift old 5-slot esper data to align with the 6-slot espers patch.");

  // The menu, as the native editor builds its menu bar from it.
  ResourceScript script;
  std::string error;
  ASSERT_TRUE(script.ReadFiles(TAVERO_SOURCE_DIR "/res/TAVERO.rc", TAVERO_SOURCE_DIR "/res/resource.h", &error))
      << error;
  const std::vector<MenuItemTemplate>& bar = script.Menus.at(IDR_MENU);
  ASSERT_EQ(bar.size(), 2u);
  EXPECT_EQ(bar[0].Text, "&File");
  ASSERT_EQ(bar[0].Items.size(), 4u);
  EXPECT_EQ(bar[0].Items[1].Id, static_cast<UINT>(ID_FILE_SAVE));
  EXPECT_EQ(bar[0].Items[2].Type, MenuItemTemplate::Kind::Separator);
  EXPECT_EQ(bar[0].Items[3].Text, "E&xit");
  EXPECT_EQ(bar[1].Text, "5->6");
  EXPECT_EQ(bar[1].Id, static_cast<UINT>(ID_SHIFT_DATA));
  EXPECT_EQ(script.Icons.at(IDR_MAINFRAME), "TAVERO.ico");
}

// Started with a file ("Open with"): it is loaded at once as Load loads a chosen file, with
// Load's checks and messages (faults: the file ignored, or loaded past Load's checks).
TEST_F(EditorStart, AFileGivenAtStartIsLoadedAsLoadWould) {
  Headless::Close(*Dialog);
  const std::string good = Dir.Write("good.smc", Sample(true));
  Bytes tooShort = Sample(true);
  tooShort.resize(RomLayout::ImageEnd - 1);
  const std::string refused = Dir.Write("short.smc", tooShort);
  for (const std::string& path : {good, refused}) {
    Headless::ClearMessageBoxes();
    theApp.FileToOpen = CString(path);
    Dialog = std::make_unique<CEditorDlg>();
    ASSERT_TRUE(Headless::Open(*Dialog));
    theApp.FileToOpen.Empty();
    EXPECT_EQ(g_rom.Path.Str(), path);
    if (path == good) {
      EXPECT_EQ(Dialog->RomLoaded, 1);
      EXPECT_EQ(Count(IDC_ESPER), 27);
      EXPECT_TRUE(Headless::MessageBoxes().empty());
    } else {
      EXPECT_EQ(Dialog->RomLoaded, 0);
      ASSERT_EQ(Headless::MessageBoxes().size(), 1u);
      EXPECT_EQ(Headless::MessageBoxes()[0].rfind("Could not load " + path + ":\nthe file is too short", 0), 0u);
    }
    Headless::Close(*Dialog);
  }
  Dialog = std::make_unique<CEditorDlg>();
  ASSERT_TRUE(Headless::Open(*Dialog));
}

}  // namespace
