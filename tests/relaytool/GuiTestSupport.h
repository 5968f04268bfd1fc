// Shared pieces of the relaytool GUI tests: recorded message boxes, a settings
// location of the test's own, driving the connect dialog, and a stand-in board
// on a loopback address.
#pragma once

#include "MessageBoxSeam.h"
#include "RelayApplication.h"
#include "Unit1.h"

#include <RelaySim.h>

#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace relaytool::testing {

// The product's name, as the build defines it.
inline const QString kTitle = QStringLiteral(RELAY_PRODUCT);

// One box as the program asked for it, with what the user saw at that moment.
struct RecordedBox {
  QString caption;
  QString text;
  unsigned icon = 0;
  QString owner;       // object name of the owning window
  QString focus;       // object name of the owner window's focus widget
  int page = -1;       // current page of PageControl1 when the owner is TForm1
  bool waitCursor = false;
};

// Records every box instead of showing it, for as long as it lives.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  BoxRecorder(const BoxRecorder &) = delete;
  BoxRecorder &operator=(const BoxRecorder &) = delete;

  const QList<RecordedBox> &Boxes() const { return boxes_; }
  QStringList Texts() const;

 private:
  QList<RecordedBox> boxes_;
  MessageBoxHandler previous_;
};

// Points the per-user settings at an empty folder of its own.
class TempSettings {
 public:
  TempSettings();
  // Stores a value as the program's settings would hold it.
  void Store(const QVariant &value) const;
  QVariant Stored() const;
  // The settings file, so that a test can stand a folder in its way.
  QString FilePath() const;

 private:
  QTemporaryDir dir_;
};

// A stand-in board on a free 127.x address of its own.
class Board {
 public:
  explicit Board(relay::sim::BoardConfig config = {}, relay::sim::SimOptions options = {});
  QString Address() const { return address_; }
  relay::sim::RelaySim &Sim() { return sim_; }
  // Frames received since the last call, each as its command code followed by
  // ",value" when it carried one (the request tag is left out).
  QStringList TakeCommands();

 private:
  relay::sim::RelaySim sim_;
  QString address_;
};

template <class T>
T *Child(QWidget &parent, const char *name) {
  T *child = parent.findChild<T *>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no child %s", name);
  return child;
}

// Presses the window's Connect button and, in the dialog it opens, runs
// `inDialog` (which decides how the dialog ends).
void OpenConnectDialog(TForm1 &form, const std::function<void(QDialog &)> &inDialog);

// OpenConnectDialog, then delivers a posted connect request, so the read has
// run when this returns.
void PressConnect(TForm1 &form, const std::function<void(QDialog &)> &inDialog);

// Connects the window to `address` through the dialog, typed and accepted
// with OK.
void ConnectTo(TForm1 &form, const QString &address);

// Titles of the tabs that are shown, in page order.
QStringList VisibleTabs(TForm1 &form);

// Runs a QTest object under the program's own application object, with the
// per-user settings pointed away from the user's own.
int RunGuiTest(int argc, char **argv, const std::function<int()> &run);

}  // namespace relaytool::testing

#define RELAYTOOL_GUI_TEST_MAIN(TestClass)                                            \
  int main(int argc, char **argv) {                                                   \
    return relaytool::testing::RunGuiTest(argc, argv, [&] {                           \
      TestClass test;                                                                 \
      return QTest::qExec(&test, argc, argv);                                         \
    });                                                                               \
  }
