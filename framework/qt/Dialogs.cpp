// Modal dialogs from the program's resource templates, as Qt dialogs: the menu of the
// template as a menu bar, the controls laid out in the template's dialog units, and the
// keys and the close button a Windows dialog answers (Enter: IDOK, Escape and close: IDCANCEL).

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/CWinApp.h"
#include "framework/qt/QtWindow.h"

namespace {

void Command(HWND__* dialog, int id) {
  Backend::Send(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

class TemplateDialog : public QDialog {
 public:
  TemplateDialog(HWND__* window, QWidget* owner) : QDialog(owner), Window(window) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // The default button's command; a dialog without buttons gets IDOK.
        for (auto& child : Window->Children)
          if (auto* button = qobject_cast<QPushButton*>(child->Widget.data()); button && button->isDefault()) {
            button->click();
            return;
          }
        Command(Window, IDOK);
        return;
      case Qt::Key_Escape: Command(Window, IDCANCEL); return;
      default: QDialog::keyPressEvent(event);
    }
  }

  void closeEvent(QCloseEvent* event) override {
    event->ignore();  // the dialog's own OnCancel ends it
    Command(Window, IDCANCEL);
  }

 private:
  HWND__* Window;
};

QMenuBar* MenuBar(HWND__* dialog, const std::vector<MenuItemTemplate>& items, QWidget* parent) {
  auto* bar = new QMenuBar(parent);
  auto add = [dialog](auto& self, auto* menu, const MenuItemTemplate& item) -> void {
    const QString text = QString::fromUtf8(item.Text.c_str());
    switch (item.Type) {
      case MenuItemTemplate::Kind::Separator: menu->addSeparator(); break;
      case MenuItemTemplate::Kind::Popup: {
        QMenu* popup = menu->addMenu(text);
        for (const MenuItemTemplate& inner : item.Items) self(self, popup, inner);
        break;
      }
      case MenuItemTemplate::Kind::Command: {
        QAction* action = menu->addAction(text);
        const int id = static_cast<int>(item.Id);
        // Posted, as a menu command is: the menu has closed before the command runs.
        QObject::connect(action, &QAction::triggered, action, [dialog, id] {
          QMetaObject::invokeMethod(
              dialog->Widget, [dialog, id] { Command(dialog, id); }, Qt::QueuedConnection);
        });
        break;
      }
    }
  };
  for (const MenuItemTemplate& item : items) add(add, bar, item);
  return bar;
}

HWND__* CreateDialogWindow(CDialog& dialog, std::unique_ptr<HWND__>& holder) {
  const ResourceScript& resources = QtBackend::Resources();
  auto found = resources.Dialogs.find(dialog.TemplateId);
  if (found == resources.Dialogs.end()) return nullptr;
  const DialogTemplate& source = found->second;

  holder = std::make_unique<HWND__>();
  HWND__* window = holder.get();
  window->ClassName = "#32770";
  window->Dialog = &dialog;
  // The owner: the parent given, else the main window, which is disabled while this runs.
  CWnd* owner = dialog.Parent ? dialog.Parent : AfxGetMainWnd();
  QWidget* ownerWidget = owner && owner != &dialog && owner->m_hWnd ? owner->m_hWnd->Widget.data() : nullptr;
  auto* widget = new TemplateDialog(window, ownerWidget);
  window->Widget = widget;
  widget->setWindowTitle(QString::fromUtf8(source.Caption.c_str()));
  widget->setFont(QtBackend::DialogFont(source));

  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable, as DS_MODALFRAME
  if (auto menu = resources.Menus.find(static_cast<UINT>(source.Menu)); source.Menu && menu != resources.Menus.end())
    layout->setMenuBar(MenuBar(window, menu->second, widget));
  auto* client = new QWidget(widget);
  const QRect size = QtBackend::DialogUnitsToPixels(0, 0, source.Width, source.Height);
  client->setFixedSize(size.width(), size.height());
  layout->addWidget(client);
  window->ClientWidth = size.width();
  window->ClientHeight = size.height();
  window->Client.assign(static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()), 0);

  QtBackend::CreateControlWidgets(window, client, source);
  dialog.Attach(window);

  // As on Windows, owner-drawn boxes have their selection field measured before
  // WM_INITDIALOG, while no control object is attached yet.
  for (auto& child : window->Children)
    if (child->ClassName == "ComboBox") {
      MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(child->Id), static_cast<UINT>(-1), 0, 12, 0};
      Backend::Send(window, WM_MEASUREITEM, static_cast<WPARAM>(child->Id), reinterpret_cast<LPARAM>(&measure));
    }
  // TRUE from WM_INITDIALOG: the focus goes to the first tab stop.
  if (Backend::Send(window, WM_INITDIALOG, 0, 0))
    for (auto& child : window->Children)
      if (child->Widget && child->Widget->focusPolicy() != Qt::NoFocus) {
        child->Widget->setFocus(Qt::TabFocusReason);
        break;
      }
  return window;
}

void DestroyDialogWindow(CDialog& dialog, std::unique_ptr<HWND__>& holder) {
  HWND__* window = holder.get();
  if (!window) return;
  for (auto& child : window->Children)
    if (CWnd* object = CWnd::FromHandlePermanent(child.get())) object->Detach();
  if (dialog.m_hWnd == window) dialog.Detach();
  delete window->Widget.data();
  holder.reset();
}

}  // namespace

namespace Backend {

INT_PTR RunModal(CDialog& dialog) {
  if (dialog.m_hWnd) return -1;  // already running
  std::unique_ptr<HWND__> window;
  if (!CreateDialogWindow(dialog, window)) return -1;
  auto* widget = static_cast<QDialog*>(window->Widget.data());
  widget->setModal(true);
  const INT_PTR result = widget->exec();
  DestroyDialogWindow(dialog, window);
  return result;
}

void EndModal(CDialog& dialog, int result) {
  if (!dialog.m_hWnd) return;
  if (auto* widget = qobject_cast<QDialog*>(dialog.m_hWnd->Widget.data())) widget->done(result);
}

}  // namespace Backend
