// Writes each image of an icon file as PNG into a hicolor theme folder, as desktops look
// icons up: icon-pngs ICON.ico THEME_DIR NAME gives THEME_DIR/WxH/apps/NAME.png per image.
// A tool of the Qt build (its install), so it lives with the Qt backend and uses its image reader.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: icon-pngs ICON.ico THEME_DIR NAME\n");
    return 2;
  }
  QImageReader reader(QString::fromLocal8Bit(argv[1]));
  int written = 0;
  for (int i = 0; i < reader.imageCount(); ++i) {
    if (!reader.jumpToImage(i)) break;
    const QImage image = reader.read();
    if (image.isNull()) break;
    const QString folder =
        QString("%1/%2x%3/apps").arg(QString::fromLocal8Bit(argv[2])).arg(image.width()).arg(image.height());
    if (!QDir().mkpath(folder) || !image.save(folder + "/" + QString::fromLocal8Bit(argv[3]) + ".png")) {
      std::fprintf(stderr, "icon-pngs: cannot write into %s\n", folder.toLocal8Bit().constData());
      return 1;
    }
    ++written;
  }
  if (written == 0) {
    std::fprintf(stderr, "icon-pngs: %s holds no image Qt can read (%s)\n", argv[1],
                 reader.errorString().toLocal8Bit().constData());
    return 1;
  }
  return 0;
}
