// The application object: catches a failure that escapes an event handler,
// reports it and lets the program go on.
#pragma once

#include <QApplication>

namespace relaytool {

class RelayApplication : public QApplication {
 public:
  RelayApplication(int &argc, char **argv);

  bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace relaytool
