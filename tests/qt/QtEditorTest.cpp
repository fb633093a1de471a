// The native editor over Qt 6 Widgets, driven through its real widgets under the offscreen
// platform. The behaviour is pinned by the tests of the in-memory editor; these show that the
// Qt backend maps it faithfully: the layout, the boxes, the keys, the dialogs, the bytes saved
// (held to bytes written out in the test, not to what the code itself would write).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyleOptionComboBox>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ExpectedBytes.h"
#include "QtDriver.h"
#include "TestFiles.h"
#include "framework/Backend.h"
#include "framework/CWinApp.h"
#include "framework/qt/QtWindow.h"
#include "render/GlyphSheetLayout.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"

namespace {

using namespace QtDriver;
using Bytes = std::vector<std::uint8_t>;

SampleImage::Options Image(SampleImage::Layout layout, int variant = 0) {
  SampleImage::Options options;
  options.Records = layout;
  options.Variant = variant;
  return options;
}

class NativeEditor : public ::testing::Test {
 protected:
  TempDir Dir;
};

TEST_F(NativeEditor, LoadFillsEveryBoxAndShowsTheFirstEsper) {
  const SampleImage::Options options = Image(SampleImage::Layout::SixSlot, 5);
  const std::string path = Dir.Write("six.smc", SampleImage::Make(options));
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    EXPECT_EQ(Box(editor, IDC_ESPER)->currentIndex(), 0);
    for (int id = IDC_SPELL1; id <= IDC_SPELL6; ++id) EXPECT_EQ(Box(editor, id)->count(), 55);
    EXPECT_EQ(Box(editor, IDC_BONUS)->count(), 256);
    const Bytes record = SampleImage::EsperRecord(options, 0);
    for (int pair = 1; pair <= PairCount; ++pair) {
      EXPECT_EQ(Field(editor, IDC_RATE1 + pair - 1)->text().toInt(), record[RateSlot(pair)]) << pair;
      EXPECT_EQ(Box(editor, IDC_SPELL1 + pair - 1)->currentIndex(), (record[SpellSlot(pair)] + 1) & 0xFF) << pair;
    }
    EXPECT_EQ(Box(editor, IDC_BONUS)->currentIndex(), record[BonusSlot]);
  });
}

// Edits through the widgets, a refused rate and the next key after it, then Save: the file
// holds the edits of esper 4's record and nothing else.
TEST_F(NativeEditor, EditsReachTheFileAsTheInMemoryEditorWritesThem) {
  const Bytes original = SampleImage::Make(Image(SampleImage::Layout::SixSlot, 1));
  const std::string path = Dir.Write("edit.smc", original);
  QString caption, prompt;
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    Pick(editor, IDC_ESPER, 4);
    Pick(editor, IDC_SPELL3, 11);  // spell 10
    Pick(editor, IDC_BONUS, 255);  // no bonus
    TypeOver(editor, IDC_RATE2, "77");
    TypeOver(editor, IDC_RATE1, "30");
    WhenModalOpens(ReadAndClose(&caption, &prompt));
    QTest::keyClicks(Field(editor, IDC_RATE1), "0");  // 300: refused
    EXPECT_EQ(Field(editor, IDC_RATE1)->text(), "30");
    EXPECT_EQ(Field(editor, IDC_RATE1)->selectedText(), "30");  // so the next key replaces it
    QTest::keyClicks(Field(editor, IDC_RATE1), "9");
    Save(editor);
  });
  EXPECT_EQ(caption, "TAVERO");  // the name the resources give, as TAVERO.EXE's captions
  EXPECT_EQ(prompt, "Please enter an integer between 0 and 255.");
  Bytes expected = original;
  const std::size_t record = Expected::EsperBlock + 13 * 4;
  expected[record + 0] = 9;      // rate 1
  expected[record + 2] = 77;     // rate 2
  expected[record + 5] = 10;     // spell 3
  expected[record + 12] = 0xFF;  // no bonus
  EXPECT_EQ(Differences(ReadFileBytes(path), expected), std::vector<std::size_t>{});
}

// The close box and Escape with an unsaved edit ask first, in the application's words;
// Escape in the question (Cancel) keeps the editor and the edit, its mnemonic N (No) ends it
// unsaved. Faults: a question that never comes (the edit lost), a Cancel that ends anyway.
TEST_F(NativeEditor, CloseBoxAndEscapeAskBeforeAnUnsavedEditIsLost) {
  const Bytes original = SampleImage::Make(Image(SampleImage::Layout::SixSlot, 1));
  const std::string path = Dir.Write("unsaved.smc", original);
  QString caption, text;
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    TypeOver(editor, IDC_RATE1, "77");
    QWidget* window = EditorWindow(editor);

    WhenModalOpens(ReadAndAnswerWithKey(&caption, &text, Qt::Key_Escape));
    window->close();  // the close box
    EXPECT_EQ(text, "Save changes to unsaved.smc?");
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the editor";

    text.clear();
    WhenModalOpens(ReadAndAnswerWithKey(&caption, &text, Qt::Key_Escape));
    QTest::keyClick(Field(editor, IDC_RATE1), Qt::Key_Escape);
    EXPECT_EQ(text, "Save changes to unsaved.smc?");
    EXPECT_TRUE(window->isVisible()) << "Cancel keeps the editor";
    EXPECT_EQ(Field(editor, IDC_RATE1)->text(), "77");

    WhenModalOpens(ReadAndAnswerWithKey(&caption, &text, Qt::Key_N));
    QTest::keyClick(Field(editor, IDC_RATE1), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); })) << "No ends the editor";
  });
  EXPECT_EQ(caption, "TAVERO");  // the name the resources give, as TAVERO.EXE's captions
  EXPECT_EQ(ReadFileBytes(path), original);
}

// "5->6" answered in its dialog, then Save: OK writes the code patch and the shifted records;
// Cancel writes the code patch alone.
class ShiftAnswered : public NativeEditor, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShiftAnswered, ThenSaveWritesWhatTheInMemoryEditorWrites) {
  const bool ok = std::string(GetParam()) == "OK";
  const Bytes original = SampleImage::Make(Image(SampleImage::Layout::FiveSlot, 2));
  const std::string path = Dir.Write("five.smc", original);
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    WhenModalOpens(PressButton(GetParam()));
    MenuBarCommand(editor, "5->6");
    Save(editor);
  });
  const Bytes expected = ok ? Expected::ShiftedAndSaved(original, 0) : Expected::WithSixSlotPatch(original, 0);
  EXPECT_EQ(Differences(ReadFileBytes(path), expected), std::vector<std::size_t>{});
}

INSTANTIATE_TEST_SUITE_P(Answers, ShiftAnswered, ::testing::Values("OK", "Cancel"));

TEST_F(NativeEditor, AFailedLoadSaysWhyInTheEditorsWords) {
  Bytes shortImage = SampleImage::Make(Image(SampleImage::Layout::SixSlot));
  shortImage.resize(RomLayout::ImageEnd - 1);
  const std::string path = Dir.Write("short.smc", shortImage);
  QString caption, text;
  RunEditor([&](CEditorDlg& editor) {
    // With no image held the boxes and fields are greyed and take no focus (fault: a field that
    // takes edits nothing would save).
    auto noneEnabled = [&] {
      for (int id = IDC_ESPER; id <= IDC_RATE6; ++id)
        if (QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, id))->isEnabled()) return false;
      return true;
    };
    EXPECT_TRUE(noneEnabled()) << "at the start";
    Load(editor, path, {ReadAndClose(&caption, &text)});
    EXPECT_EQ(Box(editor, IDC_ESPER)->count(), 0);
    EXPECT_TRUE(noneEnabled()) << "after the failed Load";
  });
  EXPECT_EQ(caption, "TAVERO");  // the name the resources give, as TAVERO.EXE's captions
  EXPECT_TRUE(
      text.startsWith(QString::fromStdString("Could not load " + path + ":\nthe file is too short for an image")))
      << text.toStdString();
}

// The widget drawn at a scale, as a screen of that many pixels per point shows it.
QImage RenderAt(QWidget* widget, int scale) {
  QImage image(widget->size() * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  widget->render(&image);
  return image;
}

// The glyphs of the boxes' faces and of a dropped list item are the glyph sheet's cells, where
// the Windows build puts them (4 right and 7 down in the face, 6 and 4 in an item), every glyph
// of the widest names whole (faults: a face narrower than Windows gives, cutting the last
// glyphs), and at twice the scale each pixel a 2x2 block (fault: game text smoothed).
TEST_F(NativeEditor, BoxesShowEveryGlyphOfTheirNamesWithHardEdges) {
  const std::string path = Dir.Write("shot.smc", SampleImage::Make(Image(SampleImage::Layout::SixSlot, 5)));
  QString caption, question;
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    Pick(editor, IDC_BONUS, 16);  // a named bonus: 9 glyphs, the widest field
    auto expectGlyphs = [&](const QImage& shown, QRect area, QPoint pen, std::string text, ColourScheme scheme,
                            const char* what) {
      const int scale = static_cast<int>(shown.devicePixelRatio());
      if (!text.empty() && static_cast<std::uint8_t>(text[0]) == 0xFE) text.erase(0, 1);
      for (std::size_t k = 0; k < text.size(); ++k) {
        const QPoint at = pen + QPoint(8 * static_cast<int>(k), 0);
        ASSERT_TRUE(area.contains(QRect(at, QSize(GlyphSize, GlyphSize)))) << what << ": glyph " << k << " is cut";
        const CellOrigin cell = GlyphCell(static_cast<std::uint8_t>(text[k]), scheme);
        for (int y = 0; y < GlyphSize * scale; ++y)
          for (int x = 0; x < GlyphSize * scale; ++x)
            ASSERT_EQ(
                shown.pixel(at.x() * scale + x, at.y() * scale + y) & 0xFFFFFF,
                g_rom.GlyphSheet.Surface().Bits[(cell.y + y / scale) * GlyphSheetWidth + cell.x + x / scale] & 0xFFFFFF)
                << what << " at scale " << scale << ", glyph " << k << " at " << x << "," << y;
      }
    };
    // Pictures for people, beside those of TAVERO.EXE under Wine (build/windows/e2e).
    QtBackend::WidgetOf(editor.m_hWnd)->grab().save(QString(TAVERO_SCREENSHOTS) + "/editor.png");
    for (int scale : {1, 2})
      for (int id : {IDC_ESPER, IDC_BONUS}) {
        QComboBox* box = Box(editor, id);
        const std::string name = (id == IDC_ESPER ? g_rom.EsperNames[0] : g_rom.BonusNames[16]).Str();
        expectGlyphs(RenderAt(box, scale), QRect(QPoint(0, 0), box->size()), QPoint(4, 7), name, ColourScheme::Normal,
                     id == IDC_ESPER ? "the esper face" : "the bonus face");
      }

    QComboBox* box = Box(editor, IDC_ESPER);
    QTest::mouseClick(box, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return box->view()->isVisible(); }));
    QAbstractItemView* list = box->view();
    const QRect item = list->visualRect(list->model()->index(3, 0));
    for (int scale : {1, 2})
      expectGlyphs(RenderAt(list->viewport(), scale), item, item.topLeft() + QPoint(6, 4), g_rom.EsperNames[3].Str(),
                   ColourScheme::Normal, "list item 3");
    list->window()->grab().save(QString(TAVERO_SCREENSHOTS) + "/editor-list.png");
    QTest::keyClick(list, Qt::Key_Escape);
    WhenModalOpens(ReadAndAnswerWithKey(&caption, &question, Qt::Key_N));  // the picked bonus is not saved
  });
}

// A dropped list shows its selected item in the top row, as far as the list reaches (fault:
// Qt's own placement, the selection in the bottom row with the items before it above).
TEST_F(NativeEditor, ADroppedListShowsItsSelectionInTheTopRow) {
  const std::string path = Dir.Write("six.smc", SampleImage::Make(Image(SampleImage::Layout::SixSlot)));
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    QComboBox* box = Box(editor, IDC_ESPER);
    for (int esper : {5, 20}) {
      Pick(editor, IDC_ESPER, esper);
      QTest::mouseClick(box, Qt::LeftButton);
      ASSERT_TRUE(WaitFor([&] { return box->view()->isVisible(); }));
      QAbstractItemView* list = box->view();
      const int rows = list->viewport()->height() / list->visualRect(list->model()->index(0, 0)).height();
      EXPECT_EQ(list->indexAt(QPoint(1, 1)).row(), std::min(esper, RomLayout::EsperCount - rows)) << esper;
      QTest::keyClick(list, Qt::Key_Escape);
      WaitFor([&] { return !list->isVisible(); });
    }
  });
}

// The "Shift Data?" message in its 120 x 24 rectangle: all three lines shown (fault: Qt's
// line spacing, taller than the font's, pushing the third line out of the rectangle).
TEST_F(NativeEditor, TheShiftQuestionShowsItsWholeMessage) {
  const std::string path = Dir.Write("five.smc", SampleImage::Make(Image(SampleImage::Layout::FiveSlot)));
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    WhenModalOpens([](QWidget* modal) {
      for (QLabel* label : modal->findChildren<QLabel*>()) {
        if (!label->text().startsWith("This will shift")) continue;
        // Drawn in a rectangle three times as tall: no ink below the real one's bottom.
        const QSize real = label->size();
        label->resize(real.width(), real.height() * 3);
        const QImage tall = label->grab().toImage();
        label->resize(real);
        int inkBelow = 0, inkInside = 0;
        const QRgb paper = tall.pixel(0, 0);
        for (int y = 0; y < tall.height(); ++y)
          for (int x = 0; x < tall.width(); ++x)
            if (tall.pixel(x, y) != paper) ++(y < real.height() ? inkInside : inkBelow);
        EXPECT_GT(inkInside, 0);
        EXPECT_EQ(inkBelow, 0) << "the message runs " << tall.height() - real.height() << " pixels past its rectangle";
      }
      PressButton("Cancel")(modal);
    });
    MenuBarCommand(editor, "5->6");
  });
}

// Load with the file's name typed into the file dialog and Enter, as a user does: the
// completion list that typing opened is gone, and the keys reach the editor again (fault:
// the list stayed on screen and took Down and Alt+F).
TEST_F(NativeEditor, AfterATypedLoadTheKeysReachTheEditor) {
  const std::string path = Dir.Write("typed.smc", SampleImage::Make(Image(SampleImage::Layout::SixSlot)));
  RunEditor([&](CEditorDlg& editor) {
    LoadByTyping(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowActive(EditorWindow(editor), 1000)) << "the editor is the active window again";
    QComboBox* box = Box(editor, IDC_ESPER);
    box->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(box->currentIndex(), 1) << "Down moves in the esper box";
  });
}

// The widgets show what the model holds, whoever changed it, and hand the user's keys and
// picks to it: a selection the list lacks shows none, redraw off and on, a text the program
// writes with the caret at its start, a letter refused by a rate field, a key on a closed
// list picking the next item (faults: a widget that keeps its own state, or its own rules).
TEST_F(NativeEditor, TheWidgetsMirrorTheModelAndPassOnTheUser) {
  const std::string path = Dir.Write("six.smc", SampleImage::Make(Image(SampleImage::Layout::SixSlot)));
  RunEditor([&](CEditorDlg& editor) {
    Load(editor, path);
    ASSERT_TRUE(WaitFor([&] { return Box(editor, IDC_ESPER)->count() == RomLayout::EsperCount; }));
    editor.SpellBox1.SelectRemember(300);
    EXPECT_EQ(Box(editor, IDC_SPELL1)->currentIndex(), -1);
    editor.BonusBox.SetRedraw(FALSE);
    EXPECT_FALSE(Box(editor, IDC_BONUS)->updatesEnabled());
    editor.BonusBox.SetRedraw(TRUE);
    EXPECT_TRUE(Box(editor, IDC_BONUS)->updatesEnabled());

    editor.SendDlgItemMessage(IDC_RATE3, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("123"));
    EXPECT_EQ(Field(editor, IDC_RATE3)->text(), "123");
    EXPECT_EQ(Field(editor, IDC_RATE3)->cursorPosition(), 0);
    TypeOver(editor, IDC_RATE2, "7x7");
    EXPECT_EQ(Field(editor, IDC_RATE2)->text(), "77");
    EXPECT_EQ(g_rom.EsperTable[0][RateSlot(2)], 77);

    Box(editor, IDC_ESPER)->setFocus();
    QTest::keyClick(Box(editor, IDC_ESPER), Qt::Key_Down);
    EXPECT_EQ(Box(editor, IDC_ESPER)->currentIndex(), 1);
    EXPECT_EQ(Field(editor, IDC_RATE1)->text().toInt(), g_rom.EsperTable[1][RateSlot(1)]) << "esper 1 shown";
    QTest::keyClick(Box(editor, IDC_ESPER), Qt::Key_PageDown);  // the model's page, not QComboBox's
    EXPECT_EQ(Box(editor, IDC_ESPER)->currentIndex(), 14);
    for (int id = IDC_ESPER; id <= IDC_RATE6; ++id)
      EXPECT_TRUE(QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, id))->isEnabled()) << id;

    // A message box shows the buttons the model gives its type, Escape as Windows takes it
    // (faults: MB_OKCANCEL shown with OK alone, No taken for Escape in MB_YESNO).
    QStringList buttons;
    auto readButtons = [&](Qt::Key key) {
      return [&buttons, key](QWidget* modal) {
        std::vector<std::pair<int, QString>> placed;  // left to right
        for (QAbstractButton* button : static_cast<QMessageBox*>(modal)->buttons())
          placed.emplace_back(button->mapTo(modal, QPoint()).x(), button->text());
        std::sort(placed.begin(), placed.end());
        buttons.clear();
        for (const auto& [x, text] : placed) buttons << text;
        QTest::keyClick(modal, key);
        if (modal->isVisible()) QTest::keyClick(modal, Qt::Key_Return);  // Escape did nothing: the default
      };
    };
    WhenModalOpens(readButtons(Qt::Key_Escape));
    EXPECT_EQ(editor.MessageBox("?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(buttons, QStringList({"OK", "Cancel"}));
    WhenModalOpens(readButtons(Qt::Key_Escape));
    EXPECT_EQ(editor.MessageBox("?", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(buttons, QStringList({"&Yes", "&No"}));
    WhenModalOpens(readButtons(Qt::Key_Escape));
    EXPECT_EQ(editor.MessageBox("?", MB_OK), IDOK);
    Save(editor);
  });
}

// The window and every control have the pixel size and place TAVERO.EXE has under Wine.
TEST_F(NativeEditor, TheLayoutIsTheWindowsOne) {
  struct Place {
    int Id;
    QRect Area;  // client pixels, as measured under Wine
  };
  const Place places[] = {{IDC_ESPER, {92, 3, 88, 21}},    {IDC_SPELL1, {92, 26, 88, 21}},
                          {IDC_SPELL4, {92, 94, 88, 21}},  {IDC_SPELL6, {92, 140, 88, 21}},
                          {IDC_BONUS, {164, 163, 88, 21}}, {IDC_RATE1, {220, 26, 32, 20}},
                          {IDC_RATE6, {220, 140, 32, 20}}};
  RunEditor([&](CEditorDlg& editor) {
    for (const Place& place : places)
      EXPECT_EQ(QtBackend::WidgetOf(Backend::DlgItem(editor.m_hWnd, place.Id))->geometry(), place.Area) << place.Id;
    const QWidget* client = Box(editor, IDC_ESPER)->parentWidget();
    EXPECT_EQ(client->size(), QSize(256, 185));
    std::vector<QRect> labels;
    for (const QLabel* label : client->findChildren<QLabel*>()) labels.push_back(label->geometry());
    EXPECT_NE(std::find(labels.begin(), labels.end(), QRect(8, 166, 140, 15)), labels.end());   // "Level Up Bonus:"
    EXPECT_NE(std::find(labels.begin(), labels.end(), QRect(194, 143, 16, 15)), labels.end());  // the sixth "x"
  });
}

// The program started where there is no display: one line that says so, and status 1, where
// Qt alone would abort.
TEST(NativeProgram, WithoutADisplaySaysSoInOneLineAndEnds) {
  const std::string command =
      std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '") + TAVERO_NATIVE_PROGRAM + "' 2>&1";
  FILE* run = popen(command.c_str(), "r");
  ASSERT_NE(run, nullptr);
  std::string output;
  char chunk[256];
  while (std::fgets(chunk, sizeof chunk, run)) output += chunk;
  const int status = pclose(run);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(output, "tavero: cannot open a display to show the window on (DISPLAY is not set)\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The editors' recoveries of unsaved edits go into a folder of this run, not the user's.
  const TempDir state;
  qputenv("XDG_STATE_HOME", QByteArray::fromStdString(state.PathOf("state")));
  QApplication application(argc, argv);
  AfxGetApp()->m_pszAppName = Backend::ApplicationName();  // as CWinApp::Run names the program
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
