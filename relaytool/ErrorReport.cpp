#include "ErrorReport.h"

#include "MessageBoxSeam.h"

#include <QApplication>

namespace relaytool {

QString WithFullStop(const QString &text) {
  if (!text.isEmpty() && text.back() > QLatin1Char('.')) return text + QLatin1Char('.');
  return text;
}

void ReportFailure(const QString &text) {
  ShowMessageBox(QApplication::activeWindow(), QCoreApplication::applicationName(),
                 WithFullStop(text), MB_ICONERROR);
}

}  // namespace relaytool
