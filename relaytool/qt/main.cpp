#include "RelayApplication.h"
#include "Unit1.h"

int main(int argc, char *argv[]) {
  relaytool::RelayApplication application(argc, argv);
  TForm1 form;
  form.show();
  return application.exec();
}
