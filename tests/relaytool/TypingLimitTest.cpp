// The typing limit of the edits: characters up to U+00FF only and, in the
// server and password edits, a length; it restricts typing only, never a text
// the program sets.
#include "GuiTestSupport.h"
#include "TypingLimit.h"

#include <QClipboard>
#include <QGuiApplication>

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

  void paste_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("before");  // '|' marks the cursor
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("after");
    const QString server = QString(60, QLatin1Char('s')) + QStringLiteral("tail");
    QTest::newRow("server edit, empty") << 39 << "|" << server << QString(39, QLatin1Char('s'));
    QTest::newRow("password edit, into the middle") << 6 << "12|34" << "abcdef" << "12ab34";
    QTest::newRow("password edit, full") << 6 << "123456|" << "7" << "123456";
    QTest::newRow("characters above U+00FF dropped") << 39 << "ab|cd" << "déjà 中文 vu" << "abdéjà  vucd";
    QTest::newRow("no limit, characters above U+00FF dropped")
        << std::numeric_limits<int>::max() << "|" << "€1.2.3.4€" << "1.2.3.4";
  }

  // As with a maximum length: the start of the paste that fits is kept, less
  // its characters above U+00FF.
  void paste() {
    QFETCH(int, limit);
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QString, after);
    QLineEdit edit;
    new relaytool::TypingLimit(&edit, limit);
    edit.setText(QString(before).remove(QLatin1Char('|')));
    edit.setCursorPosition(before.indexOf(QLatin1Char('|')));
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), after);
  }
};

RELAYTOOL_GUI_TEST_MAIN(TypingLimitTest)
#include "TypingLimitTest.moc"
