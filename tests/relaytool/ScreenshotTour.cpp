// Walks the program's windows against a board and saves a picture of each:
// the connect dialog, then the main window on every page the board offers.
// Usage: relaytool_screenshot_tour ADDRESS OUTPUT_FOLDER
#include "RelayApplication.h"
#include "Unit1.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

bool Save(QWidget &widget, const QDir &folder, const QString &name) {
  const QString path = folder.filePath(name + QStringLiteral(".png"));
  if (!widget.grab().save(path)) return false;
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int main(int argc, char *argv[]) {
  relaytool::RelayApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3 || !arguments[1].startsWith(QStringLiteral("127."))) {
    std::fprintf(stderr, "usage: relaytool_screenshot_tour 127.x.y.z OUTPUT_FOLDER\n");
    return 64;
  }
  const QString address = arguments[1];
  const QDir folder(arguments[2]);
  if (!folder.mkpath(QStringLiteral("."))) return 1;

  TForm1 form;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  bool saved = Save(form, folder, QStringLiteral("main-disconnected"));

  QTimer::singleShot(200, [&] {
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    dialog->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(address);
    saved = Save(*dialog, folder, QStringLiteral("connect-dialog")) && saved;
    dialog->findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
  });
  form.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
  QCoreApplication::sendPostedEvents(&form, WM_DEVICE_CONNECT);
  if (form.windowTitle() == QCoreApplication::applicationName()) {
    std::fprintf(stderr, "relaytool_screenshot_tour: no connection to %s\n", qPrintable(address));
    return 1;
  }

  auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
  for (int i = 0; i < pages->count(); ++i) {
    if (!pages->isTabVisible(i)) continue;
    pages->setCurrentIndex(i);
    QCoreApplication::processEvents();
    const QString name = pages->tabText(i).toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    saved = Save(form, folder, QStringLiteral("main-") + name) && saved;
  }
  return saved ? 0 : 1;
}
