#include "Artwork.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>

namespace relaytool {
namespace {

QPixmap ReadPicture(const QString &path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

}  // namespace

QIcon ArtworkIcon(const QString &name) {
  const QString path = QStringLiteral(":/icons/") + name;
  QIcon icon(ReadPicture(path + QStringLiteral(".png")));
  // As QIcon::addFile does, the picture for a ratio of 2 only where a screen
  // has more than 1.
  if (qApp->devicePixelRatio() > 1) icon.addPixmap(ReadPicture(path + QStringLiteral("@2x.png")));
  return icon;
}

}  // namespace relaytool
