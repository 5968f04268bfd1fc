#include "ErrorReport.h"

#include "BoardText.h"
#include "MessageBoxSeam.h"

#include <WindowLogic.h>

#include <QApplication>

namespace relaytool {

QString WithFullStop(const QString &text) {
  return FromBoardText(WithFullStop(ToBoardText(text)));
}

void ReportFailure(const QString &text) {
  ShowMessageBox(QApplication::activeWindow(), FromBoardText(kApplicationTitle), WithFullStop(text),
                 MB_ICONERROR);
}

}  // namespace relaytool
