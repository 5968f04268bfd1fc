#include "RelayApplication.h"
#include "Unit1.h"

int main(int argc, char *argv[]) {
  relaytool::RelayApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("Config Utility for Network Relay"));
  application.setWindowIcon(QIcon(QStringLiteral(":/icons/relaytool.svg")));
  TForm1 form;
  form.show();
  return application.exec();
}
