// The controls of a dialog as Qt widgets: an owner-drawn drop-down list, an edit, a static
// text and a push button. Each is the peer of a window of the model: it shows what the model
// holds (changed with its signals blocked, so the program's own changes say nothing) and
// hands what the user does to the model, which sends the notifications Windows sends.
//
// The edit's caret is the one state both sides change: the user moves it in the widget (keys,
// the mouse), which reports each move to the model; the model moves it when the program sets
// a text or a selection, or a key is typed, and the peer then shows it. Typed characters and
// Backspace go to the model (so its ES_NUMBER rule holds); other editing keys (Delete, paste,
// cut, undo) are the widget's own, and their result is handed to the model as a whole text.

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>
#include <algorithm>

#include "framework/model/WindowModel.h"
#include "framework/qt/QtWindow.h"

namespace QtBackend {

namespace {

// Lines of a static text follow one another at the dialog font's height, as Windows writes them.
constexpr int LineHeight = 13;

QString Utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Positions in the model's UTF-8 text and the widget's UTF-16 text.
int Utf16Position(const std::string& text, int bytes) {
  return static_cast<int>(Utf8(text.substr(0, static_cast<std::size_t>(std::max(bytes, 0)))).size());
}
int Utf8Position(const QString& text, int units) { return static_cast<int>(text.left(units).toUtf8().size()); }

// WS_DISABLED shown: greyed, no input, no focus. The model has taken the focus from a window it
// disables (to no window, as Windows does); Qt would hand it on to the next widget instead.
void ShowEnabled(QWidget* widget, const HWND__* window) {
  const bool enabled = !(window->Style & WS_DISABLED);
  if (!enabled && widget->hasFocus()) widget->clearFocus();
  widget->setEnabled(enabled);
}

// The owner's drawing of an item, or of the selection field, at size.
QImage OwnerDrawnItem(HWND__* combo, int index, UINT state, const QSize& size) {
  QImage pixels(size, QImage::Format_RGB32);
  pixels.fill(Qt::white);
  WindowModel::DrawItem(combo, index, state,
                        PixelSurface{reinterpret_cast<std::uint32_t*>(pixels.bits()), pixels.width(), pixels.height()},
                        RECT{0, 0, pixels.width(), pixels.height()});
  // The program writes 0x00RRGGBB; RGB32 wants the top byte set.
  auto* bits = reinterpret_cast<std::uint32_t*>(pixels.bits());
  for (qsizetype i = 0, n = static_cast<qsizetype>(pixels.width()) * pixels.height(); i < n; ++i)
    bits[i] |= 0xFF000000u;
  return pixels;
}

// Game text is pixel art: at any scale each pixel becomes a block of whole pixels.
void DrawPixels(QPainter& painter, const QRect& target, const QImage& pixels) {
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(target, pixels);
  painter.restore();
}

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
    DrawPixels(*painter, option.rect, OwnerDrawnItem(Combo, index.row(), state, option.rect.size()));
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const auto row = static_cast<std::size_t>(index.row());
    return {option.rect.width(), row < Combo->ItemHeights.size() ? static_cast<int>(Combo->ItemHeights[row]) : 0};
  }

 private:
  HWND__* Combo;
};

// A drop-down list whose items and selection field the owner draws (CBS_DROPDOWNLIST,
// CBS_OWNERDRAWVARIABLE, CBS_HASSTRINGS). Its rows are as many empty rows as the model has
// items; what they show is drawn by the owner.
class OwnerDrawComboBox : public QComboBox, public WindowPeer {
 public:
  OwnerDrawComboBox(HWND__* window, QWidget* parent) : QComboBox(parent), Window(window) {
    static auto* style = new DropDownBelowStyle;  // shared by every box, for the whole run
    setStyle(style);
    setItemDelegate(new OwnerDrawDelegate(window, this));
    view()->setMouseTracking(true);
    // A pick with the mouse or the keys; Qt has closed the list by now.
    connect(this, &QComboBox::activated, this, [this](int index) { WindowModel::UserPicks(Window, index); });
  }
  ~OwnerDrawComboBox() override { Window->Peer = nullptr; }

  void showPopup() override {
    WindowModel::UserDropsList(Window);
    QComboBox::showPopup();
    // The list's top row as the model dropped it.
    if (Window->TopIndex < count())
      view()->scrollTo(model()->index(Window->TopIndex, 0), QAbstractItemView::PositionAtTop);
  }

  void hidePopup() override {
    QComboBox::hidePopup();
    // A pick comes right after the list closes; without one the user cancelled it.
    QMetaObject::invokeMethod(
        this, [this] { WindowModel::UserClosesList(Window); }, Qt::QueuedConnection);
  }

  void ItemsChanged() override {
    const QSignalBlocker quiet(this);
    const int rows = static_cast<int>(Window->Items.size());
    if (count() > rows) clear();
    while (count() < rows) addItem(QString());
    setCurrentIndex(Window->Selection);  // adding the first row selects it in Qt, not in Windows
    setMaxVisibleItems(WindowModel::ListPageRows(Window));
  }
  void SelectionChanged() override {
    const QSignalBlocker quiet(this);
    setCurrentIndex(Window->Selection);
  }
  void RedrawChanged() override { setUpdatesEnabled(Window->Redraw); }
  void Repaint() override { update(); }
  void FocusTaken() override { setFocus(Qt::OtherFocusReason); }
  void EnabledChanged() override { ShowEnabled(this, Window); }

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QComboBox::focusInEvent(event);
    WindowModel::UserFocuses(Window);
  }

  // The keys of a closed list are the model's (Qt's own would move by other rules).
  void keyPressEvent(QKeyEvent* event) override {
    static const std::pair<int, int> keys[] = {{Qt::Key_Up, VK_UP},        {Qt::Key_Down, VK_DOWN},
                                               {Qt::Key_Home, VK_HOME},    {Qt::Key_End, VK_END},
                                               {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT}};
    if (!(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)))
      for (auto [key, virtualKey] : keys)
        if (event->key() == key && WindowModel::UserMovesInList(Window, virtualKey)) return;
    QComboBox::keyPressEvent(event);
  }

  // The face (the selection field as the owner draws it), a frame and a narrow button.
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect box = rect();
    const QRect button(box.right() + 1 - WindowModel::DropButtonWidth, box.top(), WindowModel::DropButtonWidth,
                       box.height());
    const QRect face(box.left(), box.top(), button.left() - box.left(), box.height());
    if (currentIndex() >= 0) {
      DrawPixels(painter, face, OwnerDrawnItem(Window, currentIndex(), ODS_COMBOBOXEDIT, face.size()));
    } else {
      painter.fillRect(face, palette().base());
    }
    QStyleOptionButton bevel;
    bevel.initFrom(this);
    bevel.rect = button;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &bevel, &painter, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = button.adjusted(2, 4, -2, -4);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    // The frame covers only the face's margin: its glyphs start 4 pixels in.
    painter.setPen(hasFocus() ? palette().highlight().color() : palette().mid().color());
    painter.drawRect(box.adjusted(0, 0, -1, -1));
  }

 private:
  HWND__* Window;
};

// An edit control; see the top of this file for how its caret is kept with the model's.
class EditControl : public QLineEdit, public WindowPeer {
 public:
  EditControl(HWND__* window, QWidget* parent) : QLineEdit(parent), Window(window) {
    connect(this, &QLineEdit::textChanged, this, [this] {
      WindowModel::UserEdits(Window, text().toStdString(), Utf8Position(text(), SelectionStart()),
                             Utf8Position(text(), Caret()));
    });
    auto caretMoved = [this] {
      WindowModel::UserMovesCaret(Window, Utf8Position(text(), SelectionStart()), Utf8Position(text(), Caret()));
    };
    connect(this, &QLineEdit::cursorPositionChanged, this, caretMoved);
    connect(this, &QLineEdit::selectionChanged, this, caretMoved);
  }
  ~EditControl() override { Window->Peer = nullptr; }

  void TextChanged() override {
    const QSignalBlocker quiet(this);
    const QString shown = Utf8(Window->Text);
    if (text() != shown) setText(shown);
    const int start = Utf16Position(Window->Text, Window->SelStart), end = Utf16Position(Window->Text, Window->SelEnd);
    if (start == end)
      setCursorPosition(end);
    else
      setSelection(start, end - start);  // the caret at the end
  }
  void FocusTaken() override { setFocus(Qt::OtherFocusReason); }
  void EnabledChanged() override { ShowEnabled(this, Window); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && event->key() == Qt::Key_Backspace) {
      WindowModel::UserTypes(Window, '\b');
      return;
    }
    const QString typed = event->text();
    if (plain && !typed.isEmpty() && typed.at(0).isPrint()) {
      for (char key : typed.toStdString())
        if (!WindowModel::UserTypes(Window, key)) QApplication::beep();  // refused, as ES_NUMBER refuses a letter
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);  // a Tab into it selects the whole text
    WindowModel::UserFocuses(Window);
  }

 private:
  int SelectionStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }
  int Caret() const { return hasSelectedText() ? selectionEnd() : cursorPosition(); }

  HWND__* Window;
};

// A static text, written as Windows writes one: wrapped at word ends when centred, its lines
// the dialog font's height apart.
class StaticControl : public QLabel, public WindowPeer {
 public:
  StaticControl(HWND__* window, QWidget* parent) : QLabel(Utf8(window->Text), parent), Window(window) {
    if (window->Style & SS_CENTER) {
      setAlignment(Qt::AlignHCenter | Qt::AlignTop);
      setWordWrap(true);
    }
  }
  ~StaticControl() override { Window->Peer = nullptr; }

  void TextChanged() override { setText(Utf8(Window->Text)); }
  void EnabledChanged() override { ShowEnabled(this, Window); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().windowText().color());
    const QFontMetrics metrics(font());
    QStringList lines;
    if (!wordWrap()) {
      lines << text();
    } else {
      for (const QString& word : text().split(' ', Qt::SkipEmptyParts)) {
        const QString longer = lines.isEmpty() ? word : lines.back() + ' ' + word;
        if (!lines.isEmpty() && metrics.horizontalAdvance(longer) <= width())
          lines.back() = longer;
        else
          lines << word;
      }
    }
    for (int i = 0; i < lines.size(); ++i)
      painter.drawText(QRect(0, i * LineHeight, width(), LineHeight), static_cast<int>(alignment() | Qt::TextDontClip),
                       lines[i]);
  }

 private:
  HWND__* Window;
};

class PushButton : public QPushButton, public WindowPeer {
 public:
  PushButton(HWND__* window, QWidget* parent) : QPushButton(Utf8(window->Text), parent), Window(window) {
    setDefault((window->Style & 0x0F) == BS_DEFPUSHBUTTON);
    connect(this, &QPushButton::clicked, this, [this] { WindowModel::UserClicks(Window); });
  }
  ~PushButton() override { Window->Peer = nullptr; }

  void TextChanged() override { setText(Utf8(Window->Text)); }
  void FocusTaken() override { setFocus(Qt::OtherFocusReason); }
  void EnabledChanged() override { ShowEnabled(this, Window); }

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QPushButton::focusInEvent(event);
    WindowModel::UserFocuses(Window);
  }

 private:
  HWND__* Window;
};

}  // namespace

// The widgets of a dialog's controls, made as children of client at the template's places,
// in its tab order.
void CreateControlWidgets(HWND__* dialog, QWidget* client) {
  QWidget* previousTabStop = nullptr;
  for (auto& child : dialog->Children) {
    HWND__* window = child.get();
    QWidget* widget = nullptr;
    QRect area(window->Area.left, window->Area.top, window->Area.right - window->Area.left,
               window->Area.bottom - window->Area.top);
    if (window->ClassName == "ComboBox") {
      auto* combo = new OwnerDrawComboBox(window, client);
      window->Peer = combo;
      // The template's height is the dropped list's; the box itself is its field.
      area.setHeight(WindowModel::ComboBoxHeight(window));
      widget = combo;
    } else if (window->ClassName == "Edit") {
      auto* edit = new EditControl(window, client);
      window->Peer = edit;
      widget = edit;
    } else if (window->ClassName == "Button") {
      auto* button = new PushButton(window, client);
      window->Peer = button;
      widget = button;
    } else {
      auto* label = new StaticControl(window, client);
      window->Peer = label;
      widget = label;
    }
    widget->setGeometry(area);
    ShowEnabled(widget, window);  // WS_DISABLED may come from the template
    if (window->Style & WS_TABSTOP) {
      widget->setFocusPolicy(Qt::StrongFocus);
      if (previousTabStop) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    } else {
      widget->setFocusPolicy(Qt::NoFocus);
    }
  }
}

QWidget* WidgetOf(HWND__* window) { return window ? dynamic_cast<QWidget*>(window->Peer) : nullptr; }

QFont DialogFont(const DialogTemplate& source) {
  QFont font(QString::fromStdString(source.FontName));
  font.setStyleHint(QFont::TypeWriter);
  // Windows' cells of this font are 8 x 13 pixels here, and the dialog units follow from them:
  // the largest size whose characters are no larger keeps every text inside the rectangles
  // the template gives.
  for (int size = LineHeight; size > 6; --size) {
    font.setPixelSize(size);
    const QFontMetrics metrics(font);
    if (metrics.height() <= LineHeight && metrics.horizontalAdvance(QLatin1Char('M')) <= 8) break;
  }
  return font;
}

}  // namespace QtBackend
