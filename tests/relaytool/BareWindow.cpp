// The floors of scripts/startup-cost: a bare Qt Widgets window of the main
// window's size, shown and run until it is closed; with --text, the same window
// showing one line of text, laid out before the window maps as any caption is,
// which brings in the font database and text shaping.
#include <Form1Layout.h>

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(relaytool::kForm1Width, relaytool::kForm1Height);
  if (QCoreApplication::arguments().contains(QStringLiteral("--text"))) {
    auto *line = new QLabel(QString::fromLatin1(relaytool::kApplicationTitle), &window);
    line->move(24, 28);
    line->adjustSize();
  }
  window.show();
  return application.exec();
}
