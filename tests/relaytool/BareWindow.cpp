// The floor of scripts/startup-cost: a bare Qt Widgets window of the main
// window's size, shown and run until it is closed.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(346, 385);
  window.show();
  return application.exec();
}
