#include "WindowPlacement.h"

#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace relaytool {

void CentreOver(QWidget &window, const QWidget &owner) {
  const QWidget &over = *owner.window();
  const QRect inner = over.geometry();
  const QRect outer = over.frameGeometry();
  const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                       outer.bottom() - inner.bottom());
  QRect placed(QPoint(), window.size().grownBy(frame));
  placed.moveCenter(outer.center());
  const QRect area = over.screen()->availableGeometry();
  placed.moveLeft(std::max(area.left(), std::min(placed.left(), area.right() + 1 - placed.width())));
  placed.moveTop(std::max(area.top(), std::min(placed.top(), area.bottom() + 1 - placed.height())));
  window.move(placed.topLeft());
}

}  // namespace relaytool
