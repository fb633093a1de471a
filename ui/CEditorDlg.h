#pragma once
// The editor dialog: one esper box, six spell/rate pairs and the bonus box. Every change in
// a field goes at once into the shown record of g_rom.EsperTable; Save writes the table.

#include <array>
#include <string>

#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "render/CGameTextComboBox.h"
#include "res/resource.h"
#include "rom/CRomImage.h"
#include "rom/EsperFields.h"

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

  // The ways the editor ends, each asking first when changes are unsaved (UnsavedChanges.cpp).
  void OnOK() override;      // Enter
  void OnCancel() override;  // Escape, the close box, Alt+F4
  BOOL OnQueryEndSession();  // the desktop session ends: FALSE keeps it from ending
  // An image is held and its records differ from those last loaded or saved, or a "5->6"
  // has run since. The code patch that Load applies is not the user's change.
  bool HasUnsavedChanges() const;

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;
  void OnPaint();
  HCURSOR OnQueryDragIcon();

  DECLARE_MESSAGE_MAP()

 private:
  UINT& Rate(int pair);
  CGameTextComboBox& SpellBox(int pair);
  // The control of a field of the record (rom/EsperFields.h) and pair (0 for a field of the
  // record): a typed field's member and control id, or a field with a list's box.
  UINT& Edit(const EsperField& field, int pair);
  int EditId(const EsperField& field, int pair) const;
  CGameTextComboBox& Box(const EsperField& field, int pair);
  // The shown record, or null while the esper box has no selection.
  EsperRecord* ShownRecord();
  // Shows the field's slot of the shown record in its control (the refresh's step).
  void ShowField(const EsperField& field, int pair);
  // The change handlers' sequence for a field.
  void ChangeField(const EsperField& field, int pair);
  bool ExchangeFromControls();
  // Load after the file is chosen: the image at g_rom's path read, checked and shown.
  void LoadChosenFile();
  // The boxes and rate fields take input only while an image is held (see CEditorDlg.cpp).
  void EnableFields(bool enable);
  void ReportFailure(const char* action);
  // Save; false, with the failure message shown, when the image could not be written, and
  // false when the file changed on disk since it was loaded and the user would not save over it.
  bool SaveImage();
  // "NAME has changed on disk since it was loaded. Save over it?": true for Yes (ChangedOnDisk.cpp).
  bool AskSaveOverChanges();
  // The records as the file now holds them, after a Load or a Save.
  void RememberSavedRecords();
  // Before unsaved changes would be thrown away: "Save changes to NAME?" with Yes, No and
  // Cancel. True when the caller may go on: nothing unsaved, saved, or the user said No.
  bool AskSaveChanges();

  // The recovery of unsaved edits (Recovery.cpp): KeepRecovery after each change writes what is
  // unsaved now (or removes it when nothing is); DropRecovery at a No to "Save changes?";
  // RecoveryAfterSave at a good Save; OfferRecovery after a good Load.
  void KeepRecovery();
  void DropRecovery();
  void RecoveryAfterSave();
  void OfferRecovery();

  EsperRecords SavedRecords{};
  bool ShiftedSinceSaved = false;
  FileFingerprint RecoveryImage;  // the file the unsaved edits apply to: as loaded or last saved
  std::string RecoveryKept;       // the recovery this editor wrote last; empty when it holds none
};
