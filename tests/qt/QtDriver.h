#pragma once
// Drives the native editor through its real Qt widgets as a user would: the editor runs as
// the program runs it (DoModal), and a script acts from inside its modal loop with QTest
// keys and clicks. Windows that open on top of it (the file dialog, message boxes, "Shift
// Data?") are answered by answers queued before the action that opens them.

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "ui/CEditorDlg.h"

namespace QtDriver {

// Runs a fresh editor dialog; script runs once it is shown. Ends it afterwards if the script
// did not (File > Exit).
void RunEditor(const std::function<void(CEditorDlg&)>& script);

// The next modal window that opens on top of the editor is answered by answer.
void WhenModalOpens(const std::function<void(QWidget*)>& answer);
// Processes events until condition holds; false after limitMs.
bool WaitFor(const std::function<bool()>& condition, int limitMs = 5000);

// The widgets of the editor's controls, by id.
QComboBox* Box(CEditorDlg& editor, int id);
QLineEdit* Field(CEditorDlg& editor, int id);

// A menu command: a click on its pop-up in the menu bar, then the item's mnemonic key; a
// command on the menu bar itself is clicked.
void Menu(CEditorDlg& editor, const QString& popup, const QString& item);
void MenuBarCommand(CEditorDlg& editor, const QString& text);
// Load through the real file dialog: the path typed into its file-name field, then Open.
// then answers what opens after the file dialog (a failed load's message).
void Load(CEditorDlg& editor, const std::string& path, const std::vector<std::function<void(QWidget*)>>& then = {});
// Load with the path typed into the file dialog's name field key by key, then Enter, as a
// user does (typing opens the field's completion list).
void LoadByTyping(CEditorDlg& editor, const std::string& path);
// Save, through the menu.
void Save(CEditorDlg& editor);
// Drops the box's list with a click and picks an item with the keys, as a user can.
void Pick(CEditorDlg& editor, int id, int index);
// Tabs into the field (its text selected) and types keys.
void TypeOver(CEditorDlg& editor, int id, const QString& keys);

// Answers: a message box's text, then OK; a template dialog's button by its text.
std::function<void(QWidget*)> ReadAndClose(QString* caption, QString* text);
// A message box's text, then a key as a user answers: Escape, or a button's mnemonic letter.
std::function<void(QWidget*)> ReadAndAnswerWithKey(QString* caption, QString* text, Qt::Key key);
// The editor's window, while it runs.
QWidget* EditorWindow(CEditorDlg& editor);
std::function<void(QWidget*)> PressButton(const QString& text);

}  // namespace QtDriver
