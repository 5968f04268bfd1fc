#include "MessageBoxSeam.h"

#include <QMessageBox>

#include <utility>

namespace relaytool {
namespace {

QMessageBox::Icon QtIcon(unsigned icon) {
  switch (icon) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

void ShowRealBox(QWidget *owner, const QString &caption, const QString &text, unsigned icon) {
  QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, owner);
  box.exec();
}

MessageBoxHandler &CurrentHandler() {
  static MessageBoxHandler handler = ShowRealBox;
  return handler;
}

}  // namespace

void ShowMessageBox(QWidget *owner, const QString &caption, const QString &text, unsigned icon) {
  CurrentHandler()(owner, caption, text, icon);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  if (!handler) handler = ShowRealBox;
  return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace relaytool
