#pragma once
// A dialog built from a template of the program's resources.

#include "framework/CWnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr) : TemplateId(templateId), Parent(parent) {}

  // Creates the dialog and its controls from the template, runs it until EndDialog, and
  // returns the result given to EndDialog (-1 when it could not be created).
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // Runs the first exchange towards the controls (attaching them); TRUE: focus to the first tab stop.
  virtual BOOL OnInitDialog();
  virtual void OnOK();      // exchange and validate; end with IDOK if that succeeds
  virtual void OnCancel();  // end with IDCANCEL

  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  const UINT TemplateId;
  CWnd* const Parent;

  DECLARE_MESSAGE_MAP()
};
