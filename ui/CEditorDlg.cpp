#include "ui/CEditorDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "render/SheetBuilder.h"
#include "rom/CRomImage.h"

BEGIN_MESSAGE_MAP(CEditorDlg, CDialog)
  ON_CBN_SELCHANGE(IDC_BONUS, OnSelchangeBonus)
  ON_CBN_SELCHANGE(IDC_ESPER, OnSelchangeEsper)
  ON_EN_CHANGE(IDC_RATE1, OnChangeRate1)
  ON_EN_CHANGE(IDC_RATE2, OnChangeRate2)
  ON_EN_CHANGE(IDC_RATE3, OnChangeRate3)
  ON_EN_CHANGE(IDC_RATE4, OnChangeRate4)
  ON_EN_CHANGE(IDC_RATE5, OnChangeRate5)
  ON_EN_CHANGE(IDC_RATE6, OnChangeRate6)
  ON_CBN_SELCHANGE(IDC_SPELL1, OnSelchangeSpell1)
  ON_CBN_SELCHANGE(IDC_SPELL2, OnSelchangeSpell2)
  ON_CBN_SELCHANGE(IDC_SPELL3, OnSelchangeSpell3)
  ON_CBN_SELCHANGE(IDC_SPELL4, OnSelchangeSpell4)
  ON_CBN_SELCHANGE(IDC_SPELL5, OnSelchangeSpell5)
  ON_CBN_SELCHANGE(IDC_SPELL6, OnSelchangeSpell6)
  ON_WM_PAINT()
  ON_WM_QUERYDRAGICON()
  ON_COMMAND(ID_FILE_LOAD, OnFileLoad)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_EXIT, OnFileExit)
  ON_COMMAND(ID_SHIFT_DATA, OnShiftData)
  ON_WM_QUERYENDSESSION()
END_MESSAGE_MAP()

CEditorDlg::CEditorDlg(CWnd* parent)
    : CDialog(IDD_EDITOR, parent), Rate1(0), Rate2(0), Rate3(0), Rate4(0), Rate5(0), Rate6(0), RomLoaded(0) {
  g_rom.SetPath("");
  AppIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
}

void CEditorDlg::DoDataExchange(CDataExchange* exchange) {
  CDialog::DoDataExchange(exchange);
  DDX_Control(exchange, IDC_RATE6, Rate6Edit);
  for (int pair = 1; pair <= PairCount; ++pair) {
    DDX_Text(exchange, IDC_RATE1 + pair - 1, Rate(pair));
    DDV_MinMaxUInt(exchange, Rate(pair), 0, 255);
  }
  for (int pair = 1; pair <= PairCount; ++pair) DDX_Control(exchange, IDC_SPELL1 + pair - 1, SpellBox(pair));
  DDX_Control(exchange, IDC_ESPER, EsperBox);
  DDX_Control(exchange, IDC_BONUS, BonusBox);
}

BOOL CEditorDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));
  EnableFields(false);  // no image yet
  // Started with a file ("Open with"): it is loaded as Load loads a chosen one.
  if (CWinApp* app = AfxGetApp(); app && !app->FileToOpen.IsEmpty()) {
    g_rom.SetPath(app->FileToOpen);
    LoadChosenFile();
  }
  return TRUE;
}

// While no image is held (at the start, after a Load that failed) the boxes and rate fields
// are disabled: no edit can be typed that nothing would save. Enabled by a good Load, the
// focus goes to the esper box, where it would have started had they been enabled then.
void CEditorDlg::EnableFields(bool enable) {
  bool wereDisabled = false;
  for (int id = IDC_ESPER; id <= IDC_RATE6; ++id) wereDisabled |= EnableDlgItem(id, enable) != FALSE;
  if (enable && wereDisabled) EsperBox.SetFocus();
}

void CEditorDlg::OnPaint() { Default(); }

HCURSOR CEditorDlg::OnQueryDragIcon() { return AppIcon; }

void CEditorDlg::BuildSheets() { ::BuildSheets(*this, g_rom); }

UINT& CEditorDlg::Rate(int pair) {
  UINT* rates[] = {&Rate1, &Rate2, &Rate3, &Rate4, &Rate5, &Rate6};
  return *rates[pair - 1];
}

CGameTextComboBox& CEditorDlg::SpellBox(int pair) {
  CGameTextComboBox* boxes[] = {&SpellBox1, &SpellBox2, &SpellBox3, &SpellBox4, &SpellBox5, &SpellBox6};
  return *boxes[pair - 1];
}

// The rates are the only typed field; the spells and the bonus have boxes.
UINT& CEditorDlg::Edit(const EsperField&, int pair) { return Rate(pair); }

int CEditorDlg::EditId(const EsperField&, int pair) const { return IDC_RATE1 + pair - 1; }

CGameTextComboBox& CEditorDlg::Box(const EsperField& field, int pair) {
  return &field == &SpellField ? SpellBox(pair) : BonusBox;
}
