#pragma once
// The editor dialog: one esper box, six spell/rate pairs and the bonus box. Every change in
// a field goes at once into the shown record of g_rom.EsperTable; Save writes the table.

#include <array>

#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "render/CGameTextComboBox.h"
#include "res/resource.h"
#include "rom/CRomImage.h"

class CEditorDlg : public CDialog {
 public:
  explicit CEditorDlg(CWnd* parent = nullptr);

  // Renders the image's font and palettes into g_rom's sheets (see SheetBuilder.h).
  void BuildSheets();

  CEdit Rate6Edit;
  UINT Rate1, Rate2, Rate3, Rate4, Rate5, Rate6;
  CGameTextComboBox SpellBox1, SpellBox2, SpellBox3, SpellBox4, SpellBox5, SpellBox6;
  CGameTextComboBox EsperBox;
  CGameTextComboBox BonusBox;
  BYTE RomLoaded;  // an image is held: Save and "5->6" work only then
  HICON AppIcon;

  // Field handlers (FieldHandlers.cpp).
  void OnSelchangeEsper();  // shows the selected esper's record in every field
  void OnSelchangeBonus();
  void OnChangeRate1();
  void OnChangeRate2();
  void OnChangeRate3();
  void OnChangeRate4();
  void OnChangeRate5();
  void OnChangeRate6();
  void OnSelchangeSpell1();
  void OnSelchangeSpell2();
  void OnSelchangeSpell3();
  void OnSelchangeSpell4();
  void OnSelchangeSpell5();
  void OnSelchangeSpell6();

  // Menu commands (MenuCommands.cpp).
  void OnFileLoad();
  void OnFileSave();
  void OnFileExit();
  void OnShiftData();

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  void OnPaint();
  HCURSOR OnQueryDragIcon();

  DECLARE_MESSAGE_MAP()

 private:
  UINT& Rate(int pair);
  CGameTextComboBox& SpellBox(int pair);
  // The shown record, or null while the esper box has no selection.
  EsperRecord* ShownRecord();
  void ChangeRate(int pair);
  void ChangeSpell(int pair);
  void StoreField(int slot, int value);
  bool ExchangeFromControls();
  void ReportFailure(const char* action);
};
