#include "RelayApplication.h"

#include "ErrorReport.h"

#include <exception>

namespace relaytool {

RelayApplication::RelayApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool RelayApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &failure) {
    // The action that raised it is abandoned; the program goes on.
    ReportFailure(QString::fromLocal8Bit(failure.what()));
    return false;
  }
}

}  // namespace relaytool
