#pragma once
// Inside the Qt backend: a window handle is a plain object that holds what the framework
// asks of a window (class, id, style, items) and the widget that shows it. The widgets send
// what the user does back as the notifications Windows sends, in Windows' order.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "framework/PixelSurface.h"
#include "framework/ResourceScript.h"
#include "framework/WinTypes.h"

class CDialog;
class QDialog;

struct HWND__ {
  std::string ClassName;  // "#32770" for a dialog, else "ComboBox", "Edit", "Static", "Button"
  int Id = 0;
  DWORD Style = 0;
  HWND__* Parent = nullptr;
  std::vector<std::unique_ptr<HWND__>> Children;  // a dialog's controls, in template order
  QPointer<QWidget> Widget;                       // owned by the dialog's widget tree

  std::vector<std::string> Items;  // a combo box's item bytes; its widget holds as many rows
  std::vector<int> ItemHeights;    // as the owner measured them

  CDialog* Dialog = nullptr;                  // a running dialog
  std::vector<std::uint32_t> Client;          // a dialog's client pixels, for drawing the program does on it
  int ClientWidth = 0, ClientHeight = 0;
};

struct HDC__ {
  PixelSurface Pixels;  // what the DC draws into
};

namespace QtBackend {

// The program's resources (its dialogs, menus and icons), read once from the resource script
// the executable carries.
const ResourceScript& Resources();

// What a window does with a message by itself (Controls.cpp).
LRESULT BuiltInProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);
// A control tells its parent what happened, as WM_COMMAND with its id and code.
void Notify(HWND__* control, UINT code);

// The widgets of a dialog's controls, made as children of client (Controls.cpp). Pixel
// geometry comes from the dialog units through the dialog's font.
void CreateControlWidgets(HWND__* dialog, QWidget* client, const DialogTemplate& source);

// Dialog units to pixels, as Windows converts them for the program's dialog font, and that
// font as near as this system has it.
QRect DialogUnitsToPixels(int x, int y, int width, int height);
QFont DialogFont(const DialogTemplate& source);

// Owner-drawn items: the item's pixels, drawn by the owner's DrawItem into an image the
// program owns (Controls.cpp).
QImage DrawOwnerItem(HWND__* combo, int index, UINT state, const QSize& size);

}  // namespace QtBackend
