// Modal dialogs from the program's resource templates, as Qt dialogs: the menu of the
// template as a menu bar, the controls laid out in the template's dialog units, and the
// keys and the close button a Windows dialog answers, handed to the model.

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include "framework/Backend.h"
#include "framework/CDialog.h"
#include "framework/model/ModelBackend.h"
#include "framework/qt/QtWindow.h"

namespace QtBackend {
void CreateControlWidgets(HWND__* dialog, QWidget* client);  // Controls.cpp
}  // namespace QtBackend

namespace {

class TemplateDialog : public QDialog, public WindowPeer {
 public:
  TemplateDialog(HWND__* window, QWidget* owner) : QDialog(owner), Window(window) {}
  ~TemplateDialog() override { Window->Peer = nullptr; }

  void TextChanged() override { setWindowTitle(QString::fromUtf8(Window->Text.c_str())); }
  void IconChanged() override {  // one icon serves both sizes
    if (HICON icon = Window->Icons[1] ? Window->Icons[1] : Window->Icons[0])
      setWindowIcon(*reinterpret_cast<const QIcon*>(icon));
  }
  void DialogEnded() override { done(Window->Result); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: WindowModel::UserPressesEnter(Window); return;
      case Qt::Key_Escape: WindowModel::UserPressesEscape(Window); return;
      default: QDialog::keyPressEvent(event);
    }
  }

  void closeEvent(QCloseEvent* event) override {
    event->ignore();  // the dialog's own OnCancel ends it, or not
    WindowModel::UserCloses(Window);
  }

  // Tab and Shift+Tab, from whichever control has the focus: the model's tab order.
  bool focusNextPrevChild(bool next) override {
    WindowModel::UserPressesTab(Window, !next);
    return true;
  }

 private:
  HWND__* Window;
};

QMenuBar* MenuBar(HWND__* dialog, const std::vector<MenuItemTemplate>& items, QWidget* parent) {
  auto* bar = new QMenuBar(parent);
  auto add = [dialog, parent](auto& self, auto* menu, const MenuItemTemplate& item) -> void {
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
        const auto id = static_cast<int>(item.Id);
        // Posted, as a menu command is: the menu has closed before the command runs.
        QObject::connect(action, &QAction::triggered, action, [dialog, parent, id] {
          QMetaObject::invokeMethod(
              parent, [dialog, id] { WindowModel::UserChoosesCommand(dialog, id); }, Qt::QueuedConnection);
        });
        break;
      }
    }
  };
  for (const MenuItemTemplate& item : items) add(add, bar, item);
  return bar;
}

}  // namespace

namespace QtBackend {

QWidget* CreateDialogWidget(HWND__* window, const DialogTemplate& source, QWidget* owner) {
  auto* widget = new TemplateDialog(window, owner);
  window->Peer = widget;
  widget->setWindowTitle(QString::fromUtf8(source.Caption.c_str()));
  widget->setFont(DialogFont(source));

  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // not resizable, as DS_MODALFRAME
  const ResourceScript& resources = WindowModel::Resources();
  if (auto menu = resources.Menus.find(static_cast<UINT>(source.Menu)); source.Menu && menu != resources.Menus.end())
    layout->setMenuBar(MenuBar(window, menu->second, widget));
  auto* client = new QWidget(widget);
  client->setFixedSize(window->ClientWidth, window->ClientHeight);
  layout->addWidget(client);
  CreateControlWidgets(window, client);
  return widget;
}

}  // namespace QtBackend

namespace ModelBackend {

void MakePeers(HWND__* dialog, const DialogTemplate& source) {
  auto* widget =
      static_cast<QDialog*>(QtBackend::CreateDialogWidget(dialog, source, QtBackend::WidgetOf(dialog->Parent)));
  widget->setModal(true);  // its owner takes no input while it runs
}

void RunModalLoop(HWND__* dialog) {
  if (auto* widget = static_cast<QDialog*>(QtBackend::WidgetOf(dialog))) widget->exec();
}

void DropPeers(HWND__* dialog) {
  delete QtBackend::WidgetOf(dialog);
}  // each peer mirrors a window the model still holds

}  // namespace ModelBackend
