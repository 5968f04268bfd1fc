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
  // The box belongs to the modal dialog the user is in, or else to the active
  // window, and so is centred over it.
  QWidget *owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  ShowMessageBox(owner, FromBoardText(kApplicationTitle), WithFullStop(text), MB_ICONERROR);
}

}  // namespace relaytool
