// The general error report: the text shown for a failure, and a failure that
// escapes an event handler being caught, shown and survived.
#include "ErrorReport.h"
#include "GuiTestSupport.h"

#include <QEvent>

#include <stdexcept>

using namespace relaytool::testing;

namespace {

// Fails in its event handler for events of one type.
class FailingReceiver : public QObject {
 public:
  static constexpr QEvent::Type kFail = static_cast<QEvent::Type>(QEvent::User + 7);
  int handled = 0;

 protected:
  bool event(QEvent *event) override {
    if (event->type() != kFail) return QObject::event(event);
    ++handled;
    throw std::runtime_error("Disk on fire");
  }
};

}  // namespace

class ErrorReportTest : public QObject {
  Q_OBJECT

 private slots:
  void fullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Disk on fire" << "Disk on fire.";
    QTest::newRow("digit") << "Error 7" << "Error 7.";
    QTest::newRow("slash, just above '.'") << "a/" << "a/.";
    QTest::newRow("full stop already") << "Done." << "Done.";
    QTest::newRow("quote") << "Invalid data type for 'Target Address'"
                           << "Invalid data type for 'Target Address'";
    QTest::newRow("hyphen, just below '.'") << "a-" << "a-";
    QTest::newRow("closing parenthesis") << "(x)" << "(x)";
    QTest::newRow("empty") << "" << "";
  }

  void fullStop() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(relaytool::WithFullStop(text), shown);
  }

  // Posted and sent events alike: the failure is shown once with the error
  // icon and the title, and later events are still delivered.
  void escapingFailureIsReported() {
    BoxRecorder boxes;
    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(FailingReceiver::kFail));
    QCoreApplication::sendPostedEvents(&receiver);
    QEvent sent(FailingReceiver::kFail);
    QVERIFY(!QCoreApplication::sendEvent(&receiver, &sent));

    QCOMPARE(receiver.handled, 2);
    QCOMPARE(boxes.Texts(), (QStringList{QStringLiteral("Disk on fire."), QStringLiteral("Disk on fire.")}));
    for (const RecordedBox &box : boxes.Boxes()) {
      QCOMPARE(box.caption, kTitle);
      QCOMPARE(box.icon, relaytool::MB_ICONERROR);
    }
  }
};

RELAYTOOL_GUI_TEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
