// What the program and the page exchange, written once. The program's build makes its
// PageProtocol.h from this file (framework/web/GenerateProtocol.cmake): the event and element
// kinds as enums, and a check of each Windows number against framework/WinTypes.h.
// Keep to "Name: number," inside each Object.freeze: the generator reads no more.

// What the user did, as the page queues it; the program takes it (framework/web/Events.cpp).
export const EventKind = Object.freeze({
  Command: 1,  // window; a, the command's id
  Pick: 2,  // combo box; a, the item
  Drop: 3,  // combo box
  CloseList: 4,  // combo box
  ListKey: 5,  // combo box; a, the virtual key
  Type: 6,  // edit; a, the character
  Caret: 7,  // edit; a and b, the selection in UTF-8 bytes
  Edited: 8,  // edit; a and b, the selection; text, the whole text
  Focus: 9,  // window
  Enter: 10,  // dialog
  Escape: 11,  // dialog
  Click: 12,  // button
  Close: 13,  // dialog: its caption's close box
  AnswerGiven: 14,  // a, the request; b, the answer; text, a chosen file's path
  PageCommand: 15,  // text, the command's name
  OpenFile: 16,  // a, the page's number for a file given outside a Load; text, its name: Load with it
  Restart: 17,  // the program's main window has ended: start it again
});

// The element the page makes for a control.
export const ElementKind = Object.freeze({
  Combo: 0,
  Edit: 1,
  Static: 2,
  Button: 3,
});

// The numbers of Windows the page reads in what the program sends, and sends back.
export const Win = Object.freeze({
  IDOK: 1,
  IDCANCEL: 2,
  IDYES: 6,
  IDNO: 7,
  ODS_SELECTED: 0x0001,
  ODS_COMBOBOXEDIT: 0x1000,
  SS_CENTER: 0x0001,
  BS_DEFPUSHBUTTON: 0x0001,
  ES_NUMBER: 0x2000,
  WS_DISABLED: 0x08000000,
  VK_PRIOR: 0x21,
  VK_NEXT: 0x22,
  VK_END: 0x23,
  VK_HOME: 0x24,
  VK_UP: 0x26,
  VK_DOWN: 0x28,
  MB_OK: 0x0000,
  MB_YESNOCANCEL: 0x0003,
  MB_TYPEMASK: 0x000f,
  MB_ICONWARNING: 0x0030,
  MB_ICONMASK: 0x00f0,
});
