// The application object: carries the program's title, and catches a failure
// that escapes an event handler, reports it and lets the program go on.
#pragma once

#include <QApplication>

namespace relaytool {

class RelayApplication : public QApplication {
 public:
  // Titles the application kApplicationTitle and names its desktop entry,
  // com.fenmoor.relaytool.
  RelayApplication(int &argc, char **argv);

  bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace relaytool
