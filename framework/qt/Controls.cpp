// The controls of a dialog as Qt widgets: an owner-drawn drop-down list, an edit, a static
// text and a push button. Each keeps the state the framework asks of it (items, selection,
// text) where Windows keeps it, and tells its parent what the user did with the
// notifications Windows sends, in Windows' order. What the program itself does to a control
// (CB_SETCURSEL, WM_SETTEXT) notifies as on Windows: a selection set by the program says
// nothing, a text set by the program says EN_CHANGE.

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <cstring>

#include "framework/Backend.h"
#include "framework/qt/QtWindow.h"

namespace QtBackend {

namespace {

// The program's dialog font as Windows measures it (under Wine with its own fonts): a dialog
// unit is a quarter of 8 pixels across and an eighth of 13 pixels down.
constexpr int BaseUnitX = 8;
constexpr int BaseUnitY = 13;

// MulDiv: the product over the divisor, rounded half away from zero.
int Scale(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

constexpr DWORD EsNumber = 0x2000;
constexpr DWORD SsCenter = 0x0001;
constexpr DWORD BsDefPushButton = 0x0001;
constexpr DWORD WsTabStop = 0x00010000;
constexpr UINT BnClicked = 0;
// The height Windows gives an owner-drawn drop-down list's selection field with its border,
// for the program's font: the field is measured before the dialog's own object can answer.
constexpr int ComboFieldHeight = 21;

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A drop-down list opens below its box, as on Windows (some styles lay it over the box).
class DropDownBelowStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

// Owner-drawn list items: each row's height and pixels come from the combo box's owner.
class OwnerDrawDelegate : public QAbstractItemDelegate {
 public:
  explicit OwnerDrawDelegate(HWND__* combo, QObject* parent) : QAbstractItemDelegate(parent), Combo(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    // The item under the pointer or the keyboard is the list's selection, as in a Windows list.
    UINT state = 0;
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) state |= ODS_SELECTED;
    painter->drawImage(option.rect.topLeft(), DrawOwnerItem(Combo, index.row(), state, option.rect.size()));
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto row = static_cast<std::size_t>(index.row());
    return {option.rect.width(), row < Combo->ItemHeights.size() ? Combo->ItemHeights[row] : 12};
  }

 private:
  HWND__* Combo;
};

// A drop-down list whose items and selection field the owner draws (CBS_DROPDOWNLIST,
// CBS_OWNERDRAWVARIABLE, CBS_HASSTRINGS).
class OwnerDrawComboBox : public QComboBox {
 public:
  OwnerDrawComboBox(HWND__* window, QWidget* parent) : QComboBox(parent), Window(window) {
    static auto* style = new DropDownBelowStyle;  // shared by every box, for the whole run
    setStyle(style);
    setItemDelegate(new OwnerDrawDelegate(window, this));
    view()->setMouseTracking(true);
    // A pick by the user: SELENDOK, CLOSEUP, SELCHANGE, as a mouse pick on Windows.
    connect(this, &QComboBox::activated, this, [this](int) {
      Picked = true;
      Notify(Window, CBN_SELENDOK);
      if (Dropped) Notify(Window, CBN_CLOSEUP);
      Dropped = false;
      Notify(Window, CBN_SELCHANGE);
    });
  }

  void showPopup() override {
    Notify(Window, CBN_DROPDOWN);
    Dropped = true;
    QComboBox::showPopup();
  }

  void hidePopup() override {
    QComboBox::hidePopup();
    Picked = false;
    // A pick comes right after the list closes; without one the user cancelled it.
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (Picked || !Dropped) return;
          Dropped = false;
          Notify(Window, CBN_SELENDCANCEL);
          Notify(Window, CBN_CLOSEUP);
        },
        Qt::QueuedConnection);
  }

 protected:
  // The frame and button as the style draws them; the selection field as the owner does.
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0)
      painter.drawImage(field.topLeft(), DrawOwnerItem(Window, currentIndex(), ODS_COMBOBOXEDIT, field.size()));
  }

 private:
  HWND__* Window;
  bool Dropped = false;
  bool Picked = false;
};

// An edit control. ES_NUMBER refuses typed keys that are not digits (pastes pass, as on
// Windows); a text set by the program leaves the caret at the start.
class EditControl : public QLineEdit {
 public:
  EditControl(HWND__* window, QWidget* parent) : QLineEdit(parent), Window(window) {
    connect(this, &QLineEdit::textChanged, this, [this] { Notify(Window, EN_CHANGE); });
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if ((Window->Style & EsNumber) && printable && !typed.at(0).isDigit()) {
      QApplication::beep();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  HWND__* Window;
};

LRESULT ComboProc(HWND__* window, QComboBox* combo, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& items = window->Items;
  switch (message) {
    case CB_ADDSTRING: {
      items.emplace_back(reinterpret_cast<const char*>(lParam));
      auto index = static_cast<UINT>(items.size() - 1);
      // The owner says how high the item is; the list asks the combo box, which passes the
      // question on to its parent.
      MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(window->Id), index, 0, 12, 0};
      Backend::Send(window, WM_MEASUREITEM, static_cast<WPARAM>(window->Id), reinterpret_cast<LPARAM>(&measure));
      window->ItemHeights.push_back(static_cast<int>(measure.itemHeight));
      const QSignalBlocker quiet(combo);  // the program's change: no notification
      combo->addItem(QString());
      if (combo->currentIndex() >= 0 && static_cast<int>(items.size()) == 1) combo->setCurrentIndex(-1);
      return static_cast<LRESULT>(index);
    }
    case WM_MEASUREITEM:
    case WM_DRAWITEM: return Backend::Send(window->Parent, message, wParam, lParam);
    case CB_RESETCONTENT: {
      items.clear();
      window->ItemHeights.clear();
      const QSignalBlocker quiet(combo);
      combo->clear();
      return 0;
    }
    case CB_GETCOUNT: return static_cast<LRESULT>(items.size());
    case CB_GETCURSEL: return combo->currentIndex();
    case CB_SETCURSEL: {
      // An index the list lacks clears the selection, as Windows does.
      auto index = static_cast<int>(static_cast<std::intptr_t>(wParam));
      const bool known = index >= 0 && index < static_cast<int>(items.size());
      const QSignalBlocker quiet(combo);
      combo->setCurrentIndex(known ? index : -1);
      return known ? index : CB_ERR;
    }
    case CB_GETLBTEXTLEN:
    case CB_GETLBTEXT: {
      auto index = static_cast<std::size_t>(wParam);
      if (index >= items.size()) return CB_ERR;
      if (message == CB_GETLBTEXT)
        std::memcpy(reinterpret_cast<char*>(lParam), items[index].c_str(), items[index].size() + 1);
      return static_cast<LRESULT>(items[index].size());
    }
    default: return 0;
  }
}

LRESULT EditProc(QLineEdit* edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case EM_SETSEL: {
      // -1 as the start takes the selection away; -1 as the end (or past the text) means its end.
      const int length = static_cast<int>(edit->text().size());
      auto start = static_cast<int>(static_cast<std::intptr_t>(wParam));
      auto end = static_cast<int>(lParam);
      if (start == -1) {
        edit->deselect();
        return 0;
      }
      if (end < 0 || end > length) end = length;
      if (start < 0 || start > length) start = length;
      edit->setSelection(start, end - start);  // the caret at the end given
      return 0;
    }
    case EM_GETSEL: {
      const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
      const int end = edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      return MAKELRESULT(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_REPLACESEL: edit->insert(QString::fromUtf8(reinterpret_cast<const char*>(lParam))); return 0;
    default: return 0;
  }
}

}  // namespace

QRect DialogUnitsToPixels(int x, int y, int width, int height) {
  return {Scale(x, BaseUnitX, 4), Scale(y, BaseUnitY, 8), Scale(width, BaseUnitX, 4), Scale(height, BaseUnitY, 8)};
}

QFont DialogFont(const DialogTemplate& source) {
  QFont font(QString::fromStdString(source.FontName));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(BaseUnitY);  // the height that gives the dialog units above
  return font;
}

LRESULT BuiltInProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window || !window->Widget) return 0;
  QWidget* widget = window->Widget;
  switch (message) {
    case WM_SETREDRAW: widget->setUpdatesEnabled(wParam != 0); return 0;
    case WM_SETICON:  // one icon serves both sizes
      if (lParam) widget->setWindowIcon(*reinterpret_cast<const QIcon*>(lParam));
      return 0;
    case WM_SETTEXT: {
      const QString text = QString::fromUtf8(reinterpret_cast<const char*>(lParam));
      if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);  // EN_CHANGE, as on Windows
        edit->setCursorPosition(0);
      } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
      } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(text);
      } else {
        widget->setWindowTitle(text);
      }
      return TRUE;
    }
    default: break;
  }
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return ComboProc(window, combo, message, wParam, lParam);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return EditProc(edit, message, wParam, lParam);
  return 0;
}

void Notify(HWND__* control, UINT code) {
  Backend::Send(control->Parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->Id), static_cast<WORD>(code)),
                reinterpret_cast<LPARAM>(control));
}

QImage DrawOwnerItem(HWND__* combo, int index, UINT state, const QSize& size) {
  QImage pixels(size, QImage::Format_RGB32);
  pixels.fill(Qt::white);
  HDC__ dc{PixelSurface{reinterpret_cast<std::uint32_t*>(pixels.bits()), pixels.width(), pixels.height()}};
  DRAWITEMSTRUCT item{ODT_COMBOBOX,
                      static_cast<UINT>(combo->Id),
                      static_cast<UINT>(index),
                      ODA_DRAWENTIRE,
                      state,
                      combo,
                      &dc,
                      RECT{0, 0, size.width(), size.height()},
                      0};
  Backend::Send(combo, WM_DRAWITEM, static_cast<WPARAM>(combo->Id), reinterpret_cast<LPARAM>(&item));
  // The program writes 0x00RRGGBB; RGB32 wants the top byte set.
  auto* bits = reinterpret_cast<std::uint32_t*>(pixels.bits());
  for (qsizetype i = 0, n = static_cast<qsizetype>(pixels.width()) * pixels.height(); i < n; ++i) bits[i] |= 0xFF000000u;
  return pixels;
}

void CreateControlWidgets(HWND__* dialog, QWidget* client, const DialogTemplate& source) {
  QWidget* previousTabStop = nullptr;
  QLabel* waitingForBuddy = nullptr;
  for (const ControlTemplate& control : source.Controls) {
    auto child = std::make_unique<HWND__>();
    child->ClassName = control.ClassName;
    child->Id = control.Id;
    child->Style = control.Style;
    child->Parent = dialog;
    HWND__* window = child.get();
    QWidget* widget = nullptr;
    QRect area = DialogUnitsToPixels(control.X, control.Y, control.Width, control.Height);
    if (control.ClassName == "ComboBox") {
      auto* combo = new OwnerDrawComboBox(window, client);
      // The template's height is the dropped list's; the box itself is its field.
      combo->setMaxVisibleItems(std::max(1, (area.height() - ComboFieldHeight) / 12));
      area.setHeight(ComboFieldHeight);
      widget = combo;
    } else if (control.ClassName == "Edit") {
      widget = new EditControl(window, client);
    } else if (control.ClassName == "Button") {
      auto* button = new QPushButton(Utf8(control.Text), client);
      button->setDefault(control.Style & BsDefPushButton);
      QObject::connect(button, &QPushButton::clicked, button, [window] { Notify(window, BnClicked); });
      widget = button;
    } else {
      auto* label = new QLabel(Utf8(control.Text), client);
      if (control.Style & SsCenter) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
      }
      waitingForBuddy = label;  // its mnemonic moves the focus to the next control that takes it
      widget = label;
    }
    widget->setGeometry(area);
    if (control.Style & WsTabStop) {
      widget->setFocusPolicy(Qt::StrongFocus);
      if (previousTabStop) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
      if (waitingForBuddy) waitingForBuddy->setBuddy(widget);
      waitingForBuddy = nullptr;
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
    window->Widget = widget;
    dialog->Children.push_back(std::move(child));
  }
}

}  // namespace QtBackend
