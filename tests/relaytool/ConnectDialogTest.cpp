// The connect dialog: which addresses it accepts, how it reports the others,
// how the window takes over an accepted address, and where the dialog and the
// message boxes appear.
#include "GuiTestSupport.h"
#include "Unit3.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace relaytool::testing;

namespace {

// Notes the paints and connect requests of the window it watches.
class EventLog : public QObject {
 public:
  QList<QEvent::Type> types;

 protected:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint || event->type() == WM_DEVICE_CONNECT) types.append(event->type());
    return false;
  }
};

}  // namespace

class ConnectDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = std::make_unique<TempSettings>(); }
  void cleanup() { settings_.reset(); }

  void acceptsAndNormalises_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("normal");
    QTest::newRow("leading zeros, blanks around") << " 192.168.001.100 " << "192.168.1.100";
    QTest::newRow("stray dots") << " 10..0.0.7. " << "10.0.0.7";
    QTest::newRow("lowest") << "0.0.0.0" << "0.0.0.0";
    QTest::newRow("highest") << "255.255.255.255" << "255.255.255.255";
    QTest::newRow("dollar hexadecimal") << "$C0.168.1.1" << "192.168.1.1";
    QTest::newRow("signs and hexadecimal") << "0x0A.$0.+1.010" << "10.0.1.10";
    QTest::newRow("tab and line feed around") << "\t127.0.0.1\n" << "127.0.0.1";
  }

  void acceptsAndNormalises() {
    QFETCH(QString, typed);
    QFETCH(QString, normal);
    BoxRecorder boxes;
    TConnectDlg dialog(nullptr);
    dialog.SetAddress(typed);
    dialog.show();
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Address(), normal);
    QVERIFY(boxes.Boxes().isEmpty());
  }

  void rejects_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("three items") << "192.168.1" << "192.168.1";
    QTest::newRow("five items, blanks around") << " 192.168.1.1.5 " << "192.168.1.1.5";
    QTest::newRow("item above 255") << "256.1.1.1" << "256.1.1.1";
    QTest::newRow("negative item") << "-1.1.1.1" << "-1.1.1.1";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only blanks") << "   " << "";
  }

  // "IP address is wrong." with the information icon, the edit focused before
  // the box, the trimmed text kept and the dialog left open.
  void rejects() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    BoxRecorder boxes;
    TConnectDlg dialog(nullptr);
    dialog.setObjectName(QStringLiteral("TConnectDlg"));
    dialog.SetAddress(typed);
    dialog.show();
    auto *ok = Child<QPushButton>(dialog, "OKBtn");
    ok->setFocus();
    QTest::mouseClick(ok, Qt::LeftButton);

    QCOMPARE(boxes.Boxes().size(), 1);
    const RecordedBox box = boxes.Boxes().front();
    QCOMPARE(box.caption, kTitle);
    QCOMPARE(box.text, QStringLiteral("IP address is wrong."));
    QCOMPARE(box.icon, relaytool::MB_ICONINFORMATION);
    QCOMPARE(box.owner, QStringLiteral("TConnectDlg"));
    QCOMPARE(box.focus, QStringLiteral("Edit1"));
    QCOMPARE(dialog.Address(), kept);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
  }

  void conversionFailure_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("letter, OK clicked") << "192.168.1.a" << "'a' is not a valid integer value." << false;
    QTest::newRow("letter, Enter") << "192.168.1.a" << "'a' is not a valid integer value." << true;
    QTest::newRow("padded item, blanks around") << " 1.2. x .4 " << "'x' is not a valid integer value." << false;
    QTest::newRow("beyond 32 bits") << "1.2.3.4294967296" << "'4294967296' is not a valid integer value."
                                    << false;
  }

  // The failure escapes the handler and reaches the general error report; the
  // dialog stays open with the text exactly as typed and the focus unmoved.
  void conversionFailure() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, byEnter);
    BoxRecorder boxes;
    TConnectDlg dialog(nullptr);
    dialog.SetAddress(typed);
    dialog.show();
    auto *edit = Child<QLineEdit>(dialog, "Edit1");
    auto *ok = Child<QPushButton>(dialog, "OKBtn");
    QWidget *focused = byEnter ? static_cast<QWidget *>(edit) : ok;
    focused->setFocus();
    if (byEnter)
      QTest::keyClick(edit, Qt::Key_Return);
    else
      QTest::mouseClick(ok, Qt::LeftButton);

    QCOMPARE(boxes.Texts(), QStringList{message});
    QCOMPARE(boxes.Boxes().front().caption, kTitle);
    QCOMPARE(boxes.Boxes().front().icon, relaytool::MB_ICONERROR);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(dialog.focusWidget(), focused);
    QVERIFY(dialog.isVisible());

    // The program goes on: the corrected address is then accepted.
    edit->setText(QStringLiteral("127.0.0.1"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void enterAndEscape_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Enter acts as OK") << int(Qt::Key_Return) << true;
    QTest::newRow("Esc acts as Cancel") << int(Qt::Key_Escape) << false;
  }

  // The read blocks the window, so it starts only after the window has been
  // repainted where the dialog was.
  void readAfterRepaint() {
    Board board;
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    EventLog log;
    form.installEventFilter(&log);
    OpenConnectDialog(form, [&](QDialog &dialog) {
      Child<QLineEdit>(dialog, "Edit1")->setText(board.Address());
      Child<QPushButton>(dialog, "OKBtn")->click();
    });
    log.types.clear();
    QTRY_VERIFY(log.types.contains(WM_DEVICE_CONNECT));
    QVERIFY(log.types.indexOf(QEvent::Paint) >= 0);
    QVERIFY(log.types.indexOf(QEvent::Paint) < log.types.indexOf(WM_DEVICE_CONNECT));
  }

  // Through the window: an accepted dialog replaces TargetAddress with the
  // normal form and connects; a cancelled one changes nothing and posts
  // nothing.
  void enterAndEscape() {
    QFETCH(int, key);
    QFETCH(bool, accepted);
    Board board;
    QStringList items = board.Address().split(QLatin1Char('.'));
    for (QString &item : items) item.prepend(QStringLiteral("00"));
    const QString typed = QStringLiteral(" ") + items.join(QLatin1Char('.'));
    settings_->Store(QStringLiteral("127.0.0.9"));
    BoxRecorder boxes;
    TForm1 form;
    QString offered;
    PressConnect(form, [&](QDialog &dialog) {
      auto *edit = Child<QLineEdit>(dialog, "Edit1");
      offered = edit->text();
      // Typing replaces the offered address, which is selected.
      QTest::keyClicks(edit, typed + QStringLiteral(" "));
      QTest::keyClick(edit, Qt::Key(key));
      if (dialog.isVisible()) dialog.reject();  // the text was not taken
    });
    QCOMPARE(offered, QStringLiteral("127.0.0.9"));
    QCOMPARE(form.CurrentTargetAddress(), accepted ? board.Address() : QStringLiteral("127.0.0.9"));
    QCOMPARE(Child<QLineEdit>(form, "Edit1")->isEnabled(), accepted);
    QCOMPARE(board.TakeCommands(), accepted ? QStringList{QStringLiteral("1")} : QStringList{});
    QVERIFY(boxes.Boxes().isEmpty());
  }

  void placement_data() {
    QTest::addColumn<QString>("window");  // "connect dialog", "message box" or "conversion message box"
    QTest::addColumn<QString>("text");    // of the box, or typed into the dialog
    QTest::addColumn<QString>("shown");   // the box's text
    const QString digits(300, QLatin1Char('7'));
    QTest::newRow("connect dialog") << "connect dialog" << "" << "";
    QTest::newRow("message box") << "message box" << "Config was saved successfully."
                                 << "Config was saved successfully.";
    QTest::newRow("conversion message box of a 300-digit item")
        << "conversion message box" << QStringLiteral("1.2.3.") + digits
        << QStringLiteral("'") + digits + QStringLiteral("' is not a valid integer value.");
  }

  // The dialog and the boxes (one from the window, one from the dialog) are
  // centred over the main window, and a box's text wraps, whole, within half
  // the work area, so that the box stays well within it.
  void placement() {
    QFETCH(QString, window);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect area = form.screen()->availableGeometry();
    form.move(area.center() - form.frameGeometry().center() + form.frameGeometry().topLeft());
    QRect placed;
    QString boxText;
    int textWidth = 0;
    const auto lookAtBox = [&] {
      QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        placed = box->frameGeometry();
        boxText = Child<QLabel>(*box, "Text")->text();
        textWidth = Child<QLabel>(*box, "Text")->width();
        box->close();
      });
    };
    if (window == QLatin1String("message box")) {
      lookAtBox();
      relaytool::ShowMessageBox(&form, kTitle, text, relaytool::MB_ICONINFORMATION);
    } else {
      OpenConnectDialog(form, [&](QDialog &dialog) {
        placed = dialog.frameGeometry();
        if (window == QLatin1String("conversion message box")) {
          Child<QLineEdit>(dialog, "Edit1")->setText(text);
          lookAtBox();
          QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
        }
        dialog.reject();
      });
    }
    QCOMPARE(boxText, shown);
    const QPoint centre = form.frameGeometry().center();
    QVERIFY2((placed.center() - centre).manhattanLength() <= 1,
             qPrintable(QStringLiteral("centred at %1,%2 over the window's %3,%4")
                            .arg(placed.center().x())
                            .arg(placed.center().y())
                            .arg(centre.x())
                            .arg(centre.y())));
    QVERIFY2(area.contains(placed), qPrintable(QStringLiteral("%1 px wide").arg(placed.width())));
    QVERIFY(textWidth <= area.width() / 2);
  }

 private:
  std::unique_ptr<TempSettings> settings_;
};

RELAYTOOL_GUI_TEST_MAIN(ConnectDialogTest)
#include "ConnectDialogTest.moc"
