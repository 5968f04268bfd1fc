// Saving from the main window: what reaches the board, the message shown, the
// field the user is led to and the look afterwards.
#include "GuiTestSupport.h"

#include <SimBoard.h>

#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>

using namespace relaytool::testing;
using relay::sim::BoardConfig;
using relay::sim::Fault;
using relay::sim::FaultKind;
using relay::sim::Model;
using relay::sim::SimOptions;

namespace {

constexpr unsigned kInfo = relaytool::MB_ICONINFORMATION;
constexpr unsigned kError = relaytool::MB_ICONERROR;
const QString kSaved = QStringLiteral("Config was saved successfully.");
const QString kRestarted = QStringLiteral("Config was saved successfully, and device was restarted.");
constexpr int kOthersPage = 3;

// Applies "Name=value" edits as a user would make them: texts into line edits,
// "1" or "0" into check boxes (by clicking them) and radio buttons.
void ApplyEdits(TForm1 &form, const QStringList &edits) {
  for (const QString &edit : edits) {
    const QString name = edit.section(QLatin1Char('='), 0, 0);
    const QString value = edit.section(QLatin1Char('='), 1);
    QWidget *widget = form.findChild<QWidget *>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    if (auto *line = qobject_cast<QLineEdit *>(widget)) {
      line->setText(value);
    } else if (auto *box = qobject_cast<QCheckBox *>(widget)) {
      if (box->isChecked() != (value == QLatin1String("1"))) box->click();
    } else if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
      radio->setChecked(value == QLatin1String("1"));
    }
  }
}

bool Connected(TForm1 &form) { return Child<QLineEdit>(form, "Edit1")->isEnabled(); }

}  // namespace

class SaveTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = std::make_unique<TempSettings>(); }
  void cleanup() { settings_.reset(); }

  void save_data() {
    QTest::addColumn<QString>("board");      // "remote", "remote off" (its switch off), "remote E9" or "basic"
    QTest::addColumn<QString>("keys");       // the board's key modes, empty for none
    QTest::addColumn<QString>("fault");      // "", "refuse CMD" or "gone"
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QStringList>("commands");  // received by the board, tags left out
    QTest::addColumn<QString>("message");
    QTest::addColumn<unsigned>("icon");
    QTest::addColumn<int>("page");           // active page while the box shows
    QTest::addColumn<QString>("focus");      // focus while the box shows
    QTest::addColumn<bool>("connected");     // look afterwards

    const QString remote = QStringLiteral("remote");
    const QString basic = QStringLiteral("basic");
    const QString keys = QStringLiteral("12312312");
    const QString save = QStringLiteral("BitBtn2");
    QTest::newRow("nothing edited") << remote << keys << "" << QStringList{} << QStringList{} << kSaved << kInfo
                                    << kOthersPage << save << true;
    QTest::newRow("server name with the byte E9, nothing edited")
        << "remote E9" << keys << "" << QStringList{} << QStringList{} << kSaved << kInfo << kOthersPage << save
        << true;
    QTest::newRow("gateway changed")
        << remote << keys << "" << QStringList{"Edit3=127.0.0.9"} << QStringList{"4,127.0.0.9", "7"} << kRestarted
        << kInfo << kOthersPage << save << false;
    QTest::newRow("address as typed, written in normal form")
        << remote << keys << "" << QStringList{"Edit1= 010.001.000.099"} << QStringList{"2,10.1.0.99", "7"}
        << kRestarted << kInfo << kOthersPage << save << false;
    QTest::newRow("same address in another form")
        << remote << keys << "" << QStringList{"Edit1= 127.000.000.001 "} << QStringList{} << kSaved << kInfo
        << kOthersPage << save << true;
    QTest::newRow("2001 wrong address") << remote << keys << "" << QStringList{"Edit1=127.0.0"} << QStringList{}
                                        << "Wrong IP address." << kInfo << 0 << "Edit1" << true;
    QTest::newRow("2002 wrong mask") << remote << keys << "" << QStringList{"Edit2=255.255.0"} << QStringList{}
                                     << "Subnet mask is wrong." << kInfo << 0 << "Edit2" << true;
    QTest::newRow("2003 wrong gateway") << remote << keys << "" << QStringList{"Edit3=1.2.3.256"} << QStringList{}
                                        << "Gateway is wrong." << kInfo << 0 << "Edit3" << true;
    QTest::newRow("2004 wrong DNS") << remote << keys << "" << QStringList{"Edit5=1.2.3"} << QStringList{}
                                    << "DNS is wrong." << kInfo << 1 << "Edit5" << true;
    QTest::newRow("2005 no server") << remote << keys << "" << QStringList{"Edit6=   "} << QStringList{}
                                    << "Please enter the server for remote control." << kInfo << 1 << "Edit6" << true;
    QTest::newRow("2006 five-digit password")
        << remote << keys << "" << QStringList{"Edit7=12345"} << QStringList{} << "Password should be 6 digits."
        << kInfo << 1 << "Edit7" << true;
    QTest::newRow("remote control off: the switch only")
        << remote << keys << "" << QStringList{"CheckBox3=0", "Edit5=no dns", "Edit7=1"} << QStringList{"A,0", "7"}
        << kRestarted << kInfo << kOthersPage << save << false;
    QTest::newRow("remote control values as typed")
        << remote << keys << "" << QStringList{"Edit5=127.0.0.054", "Edit6= other.example.net ", "Edit7=000111"}
        << QStringList{"8,127.0.0.54", "9,other.example.net", "B,000111", "7"} << kRestarted << kInfo
        << kOthersPage << save << false;
    QTest::newRow("remote control switched on, values as typed")
        << "remote off" << keys << "" << QStringList{"CheckBox3=1", "Edit5=127.0.0.054", "Edit6=other", "Edit7=000111"}
        << QStringList{"A,1", "8,127.0.0.54", "9,other", "B,000111", "7"} << kRestarted << kInfo << kOthersPage << save
        << false;
    QTest::newRow("key mode changed") << remote << keys << "" << QStringList{"RadioButton8=1"}
                                      << QStringList{"5,12212312", "7"} << kRestarted << kInfo << kOthersPage
                                      << save << false;
    QTest::newRow("key without a mode keeps it")
        << remote << "12312310" << "" << QStringList{"RadioButton3=1"} << QStringList{"5,32312310", "7"}
        << kRestarted << kInfo << kOthersPage << save << false;
    QTest::newRow("restore option") << remote << keys << "" << QStringList{"CheckBox1=1"} << QStringList{"6,1", "7"}
                                    << kRestarted << kInfo << kOthersPage << save << false;
    QTest::newRow("basic board: nothing from the remote page")
        << basic << "" << "" << QStringList{"CheckBox3=1", "Edit5=no dns", "Edit6=", "RadioButton3=1"}
        << QStringList{} << kSaved << kInfo << kOthersPage << save << true;
    QTest::newRow("basic board: restore option all the same")
        << basic << "" << "" << QStringList{"CheckBox1=1"} << QStringList{"6,1", "7"} << kRestarted << kInfo
        << kOthersPage << save << false;
    QTest::newRow("write refused") << remote << keys << "refuse 4" << QStringList{"Edit3=127.0.0.9"}
                                   << QStringList{"4,127.0.0.9"} << "Operation failed." << kError << kOthersPage
                                   << save << false;
    QTest::newRow("restart refused") << remote << keys << "refuse 7" << QStringList{"Edit3=127.0.0.9"}
                                     << QStringList{"4,127.0.0.9", "7"} << "Operation failed." << kInfo
                                     << kOthersPage << save << true;
    QTest::newRow("board gone") << remote << keys << "gone" << QStringList{} << QStringList{}
                                << "Can not connect to the device." << kError << kOthersPage << save << false;
  }

  void save() {
    QFETCH(QString, board);
    QFETCH(QString, keys);
    QFETCH(QString, fault);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, commands);
    QFETCH(QString, message);
    QFETCH(unsigned, icon);
    QFETCH(int, page);
    QFETCH(QString, focus);
    QFETCH(bool, connected);

    BoardConfig config;
    config.model = board == QLatin1String("basic") ? Model::Basic : Model::RemoteControl;
    config.enableWeb = board != QLatin1String("remote off");
    // A byte that is no character on its own in UTF-8.
    if (board == QLatin1String("remote E9")) config.webServer = "caf\xe9.example.net";
    config.buttonCfg = keys.toStdString();
    SimOptions options;
    if (fault.startsWith(QLatin1String("refuse ")))
      options.faults.push_back(Fault{FaultKind::Refuse, fault.back().toLatin1()});
    Board device(config, options);

    TForm1 form;
    form.setObjectName(QStringLiteral("TForm1"));
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    if (config.model == Model::Basic) {
      // The library's remote-control values are left by a board that has
      // them, with its switch on, so that anything handed over for the basic
      // board (a stray switch-off, say) would reach the board.
      Board primer;
      ConnectTo(form, primer.Address());
      Child<QPushButton>(form, "BitBtn1")->click();
    }
    ConnectTo(form, device.Address());
    QVERIFY(Connected(form));
    device.TakeCommands();
    if (fault == QLatin1String("gone")) device.Sim().Stop();

    ApplyEdits(form, edits);
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(kOthersPage);
    auto *saveButton = Child<QPushButton>(form, "BitBtn2");
    saveButton->setFocus();
    BoxRecorder boxes;
    QTest::mouseClick(saveButton, Qt::LeftButton);

    QCOMPARE(device.TakeCommands(), commands);
    QCOMPARE(boxes.Texts(), QStringList{message});
    const RecordedBox box = boxes.Boxes().front();
    QCOMPARE(box.caption, kTitle);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.owner, QStringLiteral("TForm1"));
    QCOMPARE(box.page, page);
    QCOMPARE(box.focus, focus);
    QVERIFY(!box.waitCursor);
    QCOMPARE(Connected(form), connected);
    QCOMPARE(Child<QPushButton>(form, "BitBtn2")->isEnabled(), connected);
    QCOMPARE(form.windowTitle() == kTitle, !connected);
    if (!connected) {
      QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("Network")});
      QCOMPARE(form.focusWidget(), Child<QPushButton>(form, "BitBtn1"));
    }
    // The edits keep what the user typed.
    for (const QString &edit : edits) {
      if (auto *line = form.findChild<QLineEdit *>(edit.section(QLatin1Char('='), 0, 0)))
        QCOMPARE(line->text(), edit.section(QLatin1Char('='), 1));
    }
  }

  // After a rejected value the user corrects it and saves again.
  void correctedAfterRejection() {
    Board board;
    TForm1 form;
    ConnectTo(form, board.Address());
    board.TakeCommands();
    BoxRecorder boxes;
    Child<QLineEdit>(form, "Edit7")->setText(QStringLiteral("12a456"));
    Child<QPushButton>(form, "BitBtn2")->click();
    Child<QLineEdit>(form, "Edit7")->setText(QStringLiteral("654321"));
    Child<QPushButton>(form, "BitBtn2")->click();
    QCOMPARE(boxes.Texts(), (QStringList{QStringLiteral("Password should be 6 digits."), kRestarted}));
    QCOMPARE(board.TakeCommands(), (QStringList{QStringLiteral("B,654321"), QStringLiteral("7")}));
  }

 private:
  std::unique_ptr<TempSettings> settings_;
};

RELAYTOOL_GUI_TEST_MAIN(SaveTest)
#include "SaveTest.moc"
