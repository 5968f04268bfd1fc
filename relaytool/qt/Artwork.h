// The program's artwork: PNG pictures rendered from icons/*.svg at build time
// (relaytool.qrc), each NAME.png with NAME@2x.png for a device pixel ratio of 2.
#pragma once

#include <QIcon>
#include <QString>

namespace relaytool {

// The artwork `name` (as "network") as an icon: its picture, and the one for a
// ratio of 2 where a screen has one. They are read as PNG only: an image
// reader left to find a picture's format loads every image format plugin (Qt
// Svg's among them) to ask each whether it can.
QIcon ArtworkIcon(const QString &name);

}  // namespace relaytool
