#pragma once
// Inside the Qt backend: the windows are the window model's (framework/model/); each has a
// widget as its peer, which shows the model's state and turns what the user does into model
// updates, in Windows' order.

#include <QWidget>

#include "framework/ResourceScript.h"
#include "framework/model/Window.h"

namespace QtBackend {

// The widget that shows a window, or null.
QWidget* WidgetOf(HWND__* window);

// The dialog's widget and its controls' widgets, as the peers of the model's windows; owner
// is the widget of the window that owns the dialog (null for none).
QWidget* CreateDialogWidget(HWND__* dialog, const DialogTemplate& source, QWidget* owner);

// The program's dialog font, as near as this system has it, at the size that gives the
// template's dialog units their pixels.
QFont DialogFont(const DialogTemplate& source);

}  // namespace QtBackend
