#pragma once
// What a backend over the window model adds to it, and nothing else: the model implements
// Backend.h's windows, controls, drawing, modal loop and message boxes once, with every Windows
// rule they follow, and calls these hooks where only the backend can act. Beside them a
// backend implements Backend::LoadAppIcon, Backend::ApplicationName, CFileDialog::DoModal and
// the program's entry point (see Backend.h).

#include <string>

#include "framework/model/WindowModel.h"

namespace ModelBackend {

// The program's resource script and its header, as texts; false when the program carries
// none (the tests register the templates they use).
bool ResourceTexts(std::string* script, std::string* header);

// Makes the peers of a dialog just made from source: its window's and its controls' (see
// WindowPeer), owned by the peer of dialog->Parent when it has one.
void MakePeers(HWND__* dialog, const DialogTemplate& source);
// The platform's modal loop: shows the dialog and hands the user's input to the model until
// dialog->Ended. Returning before that cancels the dialog (IDCANCEL).
void RunModalLoop(HWND__* dialog);
// The peers go, before the model's windows do.
void DropPeers(HWND__* dialog);

// Shows a message box owned by owner (may be null) with the form's buttons, default and
// Escape button, and returns the id of the button the user chose.
int AskMessageBox(HWND__* owner, const std::string& text, const std::string& caption,
                  const WindowModel::MessageBoxForm& form);

}  // namespace ModelBackend
