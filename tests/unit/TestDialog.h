#pragma once
// A small dialog on the in-memory backend: one game-text combo box and two rate fields,
// exchanged the way the editor exchanges its fields, with counters on every handler.

#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/headless/HeadlessUser.h"
#include "render/CGameTextComboBox.h"

class TestDialog : public CDialog {
 public:
  static constexpr UINT Template = 900;
  static constexpr int BoxId = 1000, FirstRateId = 1008, SecondRateId = 1009;

  TestDialog() : CDialog(Template) { Register(); }
  ~TestDialog() override { Headless::Close(*this); }

  static void Register() {
    Headless::DialogTemplate t;
    t.Caption = "Test";
    t.ClientWidth = 256;
    t.ClientHeight = 1280;
    t.Controls = {{BoxId, "ComboBox", 0x50210A23, "", 0, 0, 0, 0},
                  {FirstRateId, "Edit", 0x50812000, "", 0, 0, 0, 0},
                  {SecondRateId, "Edit", 0x50812000, "", 0, 0, 0, 0}};
    Headless::RegisterTemplate(Template, t);
  }

  void DoDataExchange(CDataExchange* exchange) override {
    DDX_Text(exchange, FirstRateId, FirstRate);
    DDV_MinMaxUInt(exchange, FirstRate, 0, 255);
    DDX_Text(exchange, SecondRateId, SecondRate);
    DDV_MinMaxUInt(exchange, SecondRate, 0, 255);
    DDX_Control(exchange, BoxId, Box);
  }

  void OnChangeFirstRate() { ++FirstRateChanges; }
  void OnSelchangeBox() { ++SelectionChanges; }
  void OnSelendokBox() { ++SelendokSeenByParent; }

  CGameTextComboBox Box;
  UINT FirstRate = 0, SecondRate = 0;
  int FirstRateChanges = 0, SelectionChanges = 0, SelendokSeenByParent = 0;

  DECLARE_MESSAGE_MAP()
};
