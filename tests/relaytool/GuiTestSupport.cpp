#include "GuiTestSupport.h"

#include <SimBoard.h>

#include <QDialog>
#include <QGuiApplication>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

namespace relaytool::testing {

BoxRecorder::BoxRecorder() {
  previous_ = SetMessageBoxHandler([this](QWidget *owner, const QString &caption, const QString &text,
                                          unsigned icon) {
    RecordedBox box{caption, text, icon, {}, {}, -1, QGuiApplication::overrideCursor() != nullptr};
    if (owner != nullptr) {
      QWidget *window = owner->window();
      box.owner = window->objectName();
      if (QWidget *focus = window->focusWidget()) box.focus = focus->objectName();
      if (auto *pages = window->findChild<QTabWidget *>(QStringLiteral("PageControl1")))
        box.page = pages->currentIndex();
    }
    boxes_.append(box);
  });
}

BoxRecorder::~BoxRecorder() { SetMessageBoxHandler(previous_); }

QStringList BoxRecorder::Texts() const {
  QStringList texts;
  for (const RecordedBox &box : boxes_) texts.append(box.text);
  return texts;
}

namespace {

QSettings ProgramSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fenmoor"),
                   QStringLiteral("Vantor Config Util"));
}

}  // namespace

TempSettings::TempSettings() {
  if (!dir_.isValid()) qFatal("no temporary folder");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
}

void TempSettings::Store(const QVariant &value) const {
  QSettings settings = ProgramSettings();
  settings.setValue(QStringLiteral("Target Address"), value);
}

QVariant TempSettings::Stored() const { return ProgramSettings().value(QStringLiteral("Target Address")); }

QString TempSettings::FilePath() const { return ProgramSettings().fileName(); }

Board::Board(relay::sim::BoardConfig config, relay::sim::SimOptions options)
    : sim_(std::move(config), std::move(options)) {
  address_ = QString::fromStdString(sim_.StartOnFreeLoopback());
  if (!address_.startsWith(QStringLiteral("127."))) qFatal("no loopback address for the stand-in board");
}

QStringList Board::TakeCommands() {
  QStringList commands;
  for (const std::string &text : sim_.Frames()) {
    const auto frame = relay::sim::ParseFrame(text);
    if (!frame) {
      commands.append(QStringLiteral("bad frame ") + QString::fromStdString(text));
      continue;
    }
    QString command(QChar::fromLatin1(frame->command));
    if (frame->value) command += QLatin1Char(',') + QString::fromStdString(*frame->value);
    commands.append(command);
  }
  sim_.ClearFrames();
  return commands;
}

void OpenConnectDialog(TForm1 &form, const std::function<void(QDialog &)> &inDialog) {
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (dialog == nullptr) qFatal("the connect dialog did not open");
    ran = true;
    inDialog(*dialog);
  });
  Child<QPushButton>(form, "BitBtn1")->click();
  if (!ran) qFatal("the connect dialog was not shown");
}

void PressConnect(TForm1 &form, const std::function<void(QDialog &)> &inDialog) {
  OpenConnectDialog(form, inDialog);
  QCoreApplication::sendPostedEvents(&form, WM_DEVICE_CONNECT);
}

void ConnectTo(TForm1 &form, const QString &address) {
  PressConnect(form, [&](QDialog &dialog) {
    Child<QLineEdit>(dialog, "Edit1")->setText(address);
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
  });
}

QStringList VisibleTabs(TForm1 &form) {
  auto *pages = Child<QTabWidget>(form, "PageControl1");
  QStringList titles;
  for (int i = 0; i < pages->count(); ++i)
    if (pages->isTabVisible(i)) titles.append(pages->tabText(i));
  return titles;
}

int RunGuiTest(int argc, char **argv, const std::function<int()> &run) {
  // Never the user's own settings, even before a test points them elsewhere.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", RELAYTOOL_TEST_PLATFORM);
  RelayApplication application(argc, argv);
  return run();
}

}  // namespace relaytool::testing
