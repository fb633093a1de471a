#pragma once
// The editor dialog on the in-memory backend, built from the program's own resource script,
// driven as a user would: menu commands, the file dialog, picks and typing.

#include <gtest/gtest.h>

#include "TestFiles.h"
#include "framework/headless/HeadlessFileDialog.h"
#include "framework/headless/HeadlessUser.h"
#include "framework/headless/MemoryStateFolder.h"
#include "rom/CRomImage.h"
#include "rom/RomLayout.h"
#include "tools/SampleImage.h"
#include "ui/CEditorDlg.h"

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(
        Headless::LoadResourceScript(TAVERO_SOURCE_DIR "/res/TAVERO.rc", TAVERO_SOURCE_DIR "/res/resource.h", &error))
        << error;
    Headless::ClearFileDialogAnswers();
    Headless::ClearModalScripts();
    Headless::ClearMessageBoxes();
    Headless::StateFiles().Clear();  // no recovery left by another test
    // One process may run many tests; each starts from a program just started.
    g_rom.RecordSize = 11;
    g_rom.EsperTable = {};
    Dialog = std::make_unique<CEditorDlg>();
    ASSERT_TRUE(Headless::Open(*Dialog));
  }
  void TearDown() override { Headless::Close(*Dialog); }

  static std::vector<std::uint8_t> Sample(bool sixSlot = false, bool header = false, int variant = 0) {
    SampleImage::Options options;
    options.Records = sixSlot ? SampleImage::Layout::SixSlot : SampleImage::Layout::FiveSlot;
    options.Header = header;
    options.Variant = variant;
    return SampleImage::Make(options);
  }

  // "&Load" with the file dialog answered by this file.
  void LoadFile(const std::string& path) {
    Headless::AnswerFileDialog(CString(path.c_str()));
    Headless::PressCommand(*Dialog, ID_FILE_LOAD);
  }
  std::string Load(const std::vector<std::uint8_t>& bytes, const std::string& name = "image.smc") {
    std::string path = Dir.Write(name, bytes);
    LoadFile(path);
    return path;
  }

  // A name as the image holds it: game codes padded with blanks to the field's width.
  static std::string NameField(const std::string& ascii, int width) {
    std::vector<std::uint8_t> bytes = SampleImage::EncodeName(ascii);
    bytes.resize(static_cast<std::size_t>(width), 0xFF);
    return std::string(bytes.begin(), bytes.end());
  }

  std::string FieldText(int id) { return Headless::Control(*Dialog, id)->Text; }
  int Selection(int id) { return Headless::Control(*Dialog, id)->Selection; }
  int Count(int id) { return static_cast<int>(Headless::Control(*Dialog, id)->Items.size()); }
  std::string Item(int id, int index) {
    return Headless::Control(*Dialog, id)->Items.at(static_cast<std::size_t>(index));
  }
  int ShownEsper() { return Selection(IDC_ESPER); }

  // The fields show record e of the table: rates as text, spells and bonus as items.
  void ExpectFieldsShow(int e) {
    const EsperRecord& record = g_rom.EsperTable[static_cast<std::size_t>(e)];
    for (int pair = 1; pair <= PairCount; ++pair) {
      EXPECT_EQ(FieldText(IDC_RATE1 + pair - 1), std::to_string(record[RateSlot(pair)] & 0xFF)) << "rate " << pair;
      int item = (record[SpellSlot(pair)] + 1) & 0xFF;
      EXPECT_EQ(Selection(IDC_SPELL1 + pair - 1), item <= RomLayout::SpellNameCount ? item : -1) << "spell " << pair;
    }
    EXPECT_EQ(Selection(IDC_BONUS), record[BonusSlot] & 0xFF);
  }

  TempDir Dir;
  std::unique_ptr<CEditorDlg> Dialog;
};
