// Shows the wait cursor for as long as the guard lives: around each call into
// the board library that blocks until the board has answered.
#pragma once

#include <QGuiApplication>

namespace relaytool {

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace relaytool
