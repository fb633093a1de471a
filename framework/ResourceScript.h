#pragma once
// The program's resource script (res/TAVERO.rc with its header) as data: its dialog
// templates and menus, for the backends that build windows from them themselves. The script
// is the program's own, so the format read is the one it is written in: one CONTROL statement
// per control, styles as numbers, MENU with POPUP and MENUITEM.

#include <map>
#include <string>
#include <vector>

#include "framework/WinTypes.h"

struct ControlTemplate {
  int Id;
  std::string ClassName;  // "ComboBox", "Edit", "Static", "Button"
  DWORD Style;
  std::string Text;
  int X = 0, Y = 0, Width = 0, Height = 0;  // dialog units
};

struct DialogTemplate {
  std::string Caption;
  std::vector<ControlTemplate> Controls;  // in template order, which is also the tab order
  int ClientWidth = 320;                  // pixels: the template's size in dialog units, converted
  int ClientHeight = 240;
  bool Extended = false;  // DIALOGEX
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int Menu = 0;
  std::string FontName;
  int FontSize = 0;
  int Width = 0, Height = 0;  // dialog units
};

struct MenuItemTemplate {
  enum class Kind { Command, Popup, Separator };
  Kind Type = Kind::Command;
  std::string Text;                     // with its '&' mnemonic; empty for a separator
  UINT Id = 0;                          // a command's id
  std::vector<MenuItemTemplate> Items;  // a pop-up's items
};

// Dialog units to client pixels, as Windows converts them for the program's dialog font
// (Courier, 12 points; under Wine with its own fonts a dialog unit is a quarter of 8 pixels
// across and an eighth of 13 down): {left, top, right, bottom}.
RECT DialogUnitsToPixels(int x, int y, int width, int height);

struct ResourceScript {
  std::map<UINT, DialogTemplate> Dialogs;
  std::map<UINT, std::vector<MenuItemTemplate>> Menus;  // a menu bar's items, in order
  std::map<UINT, std::string> Icons;                    // the icon file each names
  std::string ProductName;                              // the version resource's: the program's name

  // Reads the script's text with the identifiers of its header's text. Returns false, saying
  // why (with the line), otherwise.
  bool Read(const std::string& script, const std::string& header, std::string* error);
  // The same from the two files.
  bool ReadFiles(const std::string& scriptPath, const std::string& headerPath, std::string* error);
};
