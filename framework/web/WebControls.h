#pragma once
// Inside the web backend: the elements of a dialog's controls (Controls.cpp).

struct HWND__;

namespace WebControls {

// Asks the page for an element per control of the dialog, at its place in the template, and
// gives each control a peer that keeps its element in step with the model.
void CreateControlElements(HWND__* dialog);
// The controls' peers go with their dialog.
void ForgetControlPeers(HWND__* dialog);

}  // namespace WebControls
