#include "RelayApplication.h"

#include "ErrorReport.h"

#include <QFont>
#include <QIcon>

#include <exception>

namespace relaytool {

RelayApplication::RelayApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Config Utility for Network Relay"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/relaytool.svg")));
  // The windows' face, 宋体, is found on Chinese systems only; elsewhere a face
  // of similar width stands in for it.
  QFont::insertSubstitutions(QStringLiteral("宋体"),
                             {QStringLiteral("SimSun"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
}

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
