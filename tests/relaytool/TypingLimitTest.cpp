// The typing limit of the server and password edits: it restricts typing only,
// never a text the program sets.
#include "GuiTestSupport.h"
#include "TypingLimit.h"

using namespace relaytool::testing;

class TypingLimitTest : public QObject {
  Q_OBJECT

 private slots:
  void inALineEdit() {
    QLineEdit edit;
    new relaytool::TypingLimit(&edit, 6);
    QTest::keyClicks(&edit, QStringLiteral("12"));  // typed first, then set by the program
    edit.setText(QStringLiteral("123456789"));
    QCOMPARE(edit.text(), QStringLiteral("123456789"));
    QTest::keyClick(&edit, Qt::Key_0);
    QCOMPARE(edit.text(), QStringLiteral("123456789"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("12345678"));
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("12345678"));
    QCOMPARE(edit.text(), QStringLiteral("123456"));
  }
};

RELAYTOOL_GUI_TEST_MAIN(TypingLimitTest)
#include "TypingLimitTest.moc"
