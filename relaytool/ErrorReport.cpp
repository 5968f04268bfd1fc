#include "ErrorReport.h"

#include "MessageBoxSeam.h"

#include <WindowLogic.h>

#include <QApplication>

namespace relaytool {

QString WithFullStop(const QString &text) {
  return QString::fromLocal8Bit(WithFullStop(text.toLocal8Bit().toStdString()));
}

void ReportFailure(const QString &text) {
  ShowMessageBox(QApplication::activeWindow(), QString::fromLatin1(kApplicationTitle), WithFullStop(text),
                 MB_ICONERROR);
}

}  // namespace relaytool
