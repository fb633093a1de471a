// The program's resources, its icon and its name. The executable carries its resource script,
// the script's header and the icons it names as Qt resources under :/resources/, with the
// script and header as script.rc and script.h.

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <map>
#include <memory>

#include "framework/Backend.h"
#include "framework/qt/QtWindow.h"

namespace {

std::string ReadResource(const char* name) {
  QFile file(QString(":/resources/") + name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

}  // namespace

namespace QtBackend {

const ResourceScript& Resources() {
  static const ResourceScript* script = [] {
    auto* read = new ResourceScript;  // for the whole run: dialogs are made from it until exit
    std::string error;
    if (!read->Read(ReadResource("script.rc"), ReadResource("script.h"), &error))
      std::fprintf(stderr, "%s: the program's resources cannot be read: %s\n",
                   QCoreApplication::applicationName().toLocal8Bit().constData(), error.c_str());
    return read;
  }();
  return *script;
}

}  // namespace QtBackend

namespace Backend {

HICON LoadAppIcon(UINT id) {
  // Shared icons, as LoadIcon gives: made once, never freed by the program.
  static auto* icons = new std::map<UINT, std::unique_ptr<QIcon>>;
  auto& icon = (*icons)[id];
  if (!icon) {
    auto file = QtBackend::Resources().Icons.find(id);
    if (file == QtBackend::Resources().Icons.end()) return nullptr;
    icon = std::make_unique<QIcon>(QString(":/resources/") + QString::fromStdString(file->second));
  }
  return reinterpret_cast<HICON>(icon.get());
}

// The name the program's resources give it (its version resource's product name), as its
// Windows build shows in every caption; the executable's name only when they give none.
CString ApplicationName() {
  const std::string& name = QtBackend::Resources().ProductName;
  return CString(name.empty() ? QCoreApplication::applicationName().toStdString() : name);
}

}  // namespace Backend
