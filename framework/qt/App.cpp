// The program's resources, its icon and its name. The executable carries its resource script,
// the script's header and the icons it names as Qt resources under :/resources/, with the
// script and header as script.rc and script.h.

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <map>
#include <memory>

#include "framework/Backend.h"
#include "framework/model/ModelBackend.h"

namespace {

std::string ReadResource(const char* name) {
  QFile file(QString(":/resources/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

}  // namespace

namespace ModelBackend {

bool ResourceTexts(std::string* script, std::string* header) {
  *script = ReadResource("script.rc");
  *header = ReadResource("script.h");
  return true;
}

}  // namespace ModelBackend

namespace Backend {

HICON LoadAppIcon(UINT id) {
  // Shared icons, as LoadIcon gives: made once, never freed by the program.
  static auto* icons = new std::map<UINT, std::unique_ptr<QIcon>>;
  auto& icon = (*icons)[id];
  if (!icon) {
    auto file = WindowModel::Resources().Icons.find(id);
    if (file == WindowModel::Resources().Icons.end()) return nullptr;
    icon = std::make_unique<QIcon>(QString(":/resources/") + QString::fromStdString(file->second));
  }
  return reinterpret_cast<HICON>(icon.get());
}

// The name the program's resources give it (its version resource's product name), as its
// Windows build shows in every caption; the executable's name only when they give none.
CString ApplicationName() {
  const std::string& name = WindowModel::Resources().ProductName;
  return CString(name.empty() ? QCoreApplication::applicationName().toStdString() : name);
}

}  // namespace Backend
