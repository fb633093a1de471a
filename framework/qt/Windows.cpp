// Message boxes over QMessageBox, owned by the window given, with the buttons, the default
// and the Escape button the model gives for the box's type.

#include <QMessageBox>
#include <QPushButton>

#include "framework/model/ModelBackend.h"
#include "framework/qt/QtWindow.h"

namespace ModelBackend {

int AskMessageBox(HWND__* owner, const std::string& text, const std::string& caption,
                  const WindowModel::MessageBoxForm& form) {
  using Icon = WindowModel::MessageBoxForm::Icon;
  const QMessageBox::Icon icon = form.Symbol == Icon::Stop          ? QMessageBox::Critical
                                 : form.Symbol == Icon::Question    ? QMessageBox::Question
                                 : form.Symbol == Icon::Warning     ? QMessageBox::Warning
                                 : form.Symbol == Icon::Information ? QMessageBox::Information
                                                                    : QMessageBox::NoIcon;
  QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::NoButton,
                  QtBackend::WidgetOf(owner));
  // One role for all, so that they stand in the form's order and Qt picks no Escape button
  // of its own (it would take No for one); the box's only button is its Escape button, as OK is.
  std::vector<std::pair<QAbstractButton*, int>> buttons;
  for (const WindowModel::MessageBoxButton& shown : form.Buttons) {
    QPushButton* button = box.addButton(QString::fromUtf8(shown.Label), QMessageBox::ActionRole);
    buttons.emplace_back(button, shown.Id);
    if (shown.Id == form.Default) box.setDefaultButton(button);
    if (shown.Id == form.Escape) box.setEscapeButton(button);
  }
  box.exec();
  for (const auto& [button, id] : buttons)
    if (box.clickedButton() == button) return id;
  return form.Escape ? form.Escape : form.Default;
}

}  // namespace ModelBackend
