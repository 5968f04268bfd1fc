// The main window: what a connect shows for each kind of board, a failed read,
// the way back to the disconnected look, its layout with and without the Song
// face, and its tab order.
#include "GuiTestSupport.h"

#include <Form1Layout.h>
#include <SimBoard.h>

#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <map>
#include <utility>

using namespace relaytool::testing;
using relay::sim::BoardConfig;
using relay::sim::Model;

Q_DECLARE_METATYPE(Model)

namespace {

BoardConfig ConfigOf(Model model, const char *keys) {
  BoardConfig config;
  config.model = model;
  config.buttonCfg = keys;
  return config;
}

// The checked buttons of the Key Press page, one character per key: '1'..'3'
// for the checked button's mode, '-' for none.
QString CheckedModes(TForm1 &form) {
  QString modes;
  for (int key = 1; key <= 8; ++key) {
    QChar mode = QLatin1Char('-');
    for (int m = 1; m <= 3; ++m) {
      const QByteArray name = "RadioButton" + QByteArray::number(3 * (key - 1) + m);
      if (Child<QRadioButton>(form, name.constData())->isChecked()) mode = QChar('0' + m);
    }
    modes += mode;
  }
  return modes;
}

// Where a control draws its caption, and the box its caption needs there;
// both null for a control without one.
struct Caption {
  QRect room;
  QRect need;
};

Caption CaptionRoom(QWidget &widget) {
  const QFontMetrics metrics = widget.fontMetrics();
  if (auto *label = qobject_cast<QLabel *>(&widget)) {
    if (label->text().isEmpty()) return {};
    const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
    const QRect room = label->contentsRect();
    return {room, metrics.boundingRect(room, int(label->alignment()) | wrap, label->text())};
  }
  auto *button = qobject_cast<QAbstractButton *>(&widget);
  if (button == nullptr || button->text().isEmpty()) return {};
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  QStyle::SubElement contents = QStyle::SE_PushButtonContents;
  if (qobject_cast<QCheckBox *>(button)) contents = QStyle::SE_CheckBoxContents;
  if (qobject_cast<QRadioButton *>(button)) contents = QStyle::SE_RadioButtonContents;
  const QRect room = button->style()->subElementRect(contents, &option, button);
  QRect need = metrics.boundingRect(room, Qt::AlignCenter, button->text());
  if (!button->icon().isNull()) need.adjust(-(button->iconSize().width() + 4) / 2, 0, (button->iconSize().width() + 5) / 2, 0);
  return {room, need};
}

// Whether none of the faces that stand in for 宋体 is installed, so that the
// window has a fallback face.
bool SongHidden() {
  const QStringList installed = QFontDatabase::families();
  for (const QString &face : QFont::substitutes(QStringLiteral("宋体")))
    if (installed.contains(face, Qt::CaseInsensitive)) return false;
  return true;
}

// Runs the current row again in a process of its own whose fontconfig rejects
// the faces that stand in for 宋体, and fails when that run fails.
void RunWithSongHidden() {
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  QString rejected;
  for (const QString &face : QFont::substitutes(QStringLiteral("宋体")))
    rejected += QStringLiteral("<pattern><patelt name=\"family\"><string>%1</string></patelt></pattern>\n")
                    .arg(face.toHtmlEscaped());
  QFile config(folder.filePath(QStringLiteral("fonts.conf")));
  QVERIFY(config.open(QIODevice::WriteOnly));
  config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                              "<fontconfig>\n<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
                              "<selectfont><rejectfont>\n%1</rejectfont></selectfont>\n</fontconfig>\n")
                   .arg(rejected)
                   .toUtf8());
  config.close();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
  QProcess run;
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(),
            {QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char(':') +
             QString::fromLatin1(QTest::currentDataTag())});
  QVERIFY(run.waitForFinished(-1));
  QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, run.readAll().constData());
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = std::make_unique<TempSettings>(); }
  void cleanup() { settings_.reset(); }

  void startsDisconnected() {
    TForm1 form;
    QCOMPARE(form.windowTitle(), kTitle);
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("Network")});
    QCOMPARE(Child<QTabWidget>(form, "PageControl1")->currentIndex(), 0);
    QVERIFY(!Child<QLineEdit>(form, "Edit1")->isEnabled());
    QVERIFY(!Child<QPushButton>(form, "BitBtn2")->isEnabled());
    QCOMPARE(Child<QPushButton>(form, "BitBtn1")->text(), QStringLiteral("Connect"));
  }

  // The form's widgets are the layout's controls, each of the kind and in the
  // parent the layout gives, with its place and text.
  void formIsTheLayout() {
    TForm1 form;
    const std::map<relaytool::ControlKind, const char *> classes = {
        {relaytool::ControlKind::Page, "QWidget"},           {relaytool::ControlKind::TabControl, "QTabWidget"},
        {relaytool::ControlKind::Label, "QLabel"},           {relaytool::ControlKind::Edit, "QLineEdit"},
        {relaytool::ControlKind::CheckBox, "QCheckBox"},     {relaytool::ControlKind::RadioButton, "QRadioButton"},
        {relaytool::ControlKind::Button, "QPushButton"},     {relaytool::ControlKind::GroupBox, "QGroupBox"},
        {relaytool::ControlKind::Panel, "QWidget"}};
    for (const relaytool::Form1Control &control : relaytool::Form1Controls()) {
      const QString name = QString::fromStdString(control.name);
      const QList<QWidget *> widgets = form.findChildren<QWidget *>(name);
      QCOMPARE(widgets.size(), 1);
      QWidget *widget = widgets.front();
      QCOMPARE(widget->metaObject()->className(), classes.at(control.kind));
      if (control.kind == relaytool::ControlKind::Page) continue;  // in the tab widget's stack
      const std::string parent =
          control.parent == relaytool::Form1Item::Form ? "TForm1" : relaytool::Form1ControlOf(control.parent).name;
      QCOMPARE(widget->parentWidget()->objectName(), QString::fromStdString(parent));
      QCOMPARE(widget->geometry(), QRect(control.left, control.top, control.width, control.height));
      const QString text = QString::fromStdString(control.text);
      if (auto *label = qobject_cast<QLabel *>(widget)) QCOMPARE(label->text(), text);
      if (auto *edit = qobject_cast<QLineEdit *>(widget)) QCOMPARE(edit->text(), text);
      if (auto *button = qobject_cast<QAbstractButton *>(widget)) QCOMPARE(button->text(), text);
    }
  }

  // Typing stops at the server name's 39 characters and the password's 6;
  // the address edits take any length.
  void typingLimits() {
    BoardConfig config = ConfigOf(Model::RemoteControl, "");
    config.enableWeb = true;
    Board board(config);
    TForm1 form;
    ConnectTo(form, board.Address());
    for (const auto &[name, limit] : {std::pair{"Edit1", 66}, std::pair{"Edit6", 39}, std::pair{"Edit7", 6}}) {
      auto *edit = Child<QLineEdit>(form, name);
      edit->clear();
      QTest::keyClicks(edit, QString(66, QLatin1Char('7')));
      QCOMPARE(edit->text().size(), limit);
    }
  }

  void tabsPerCapability_data() {
    QTest::addColumn<Model>("model");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("remote control and keys")
        << Model::RemoteControl << "12312312"
        << QStringList{"Network", "Remote Control", "Key Press", "Others"};
    QTest::newRow("remote control, no keys") << Model::RemoteControl << ""
                                             << QStringList{"Network", "Remote Control", "Others"};
    QTest::newRow("basic with keys") << Model::Basic << "11111111" << QStringList{"Network", "Key Press", "Others"};
    QTest::newRow("basic, no keys") << Model::Basic << "" << QStringList{"Network", "Others"};
  }

  // Tabs shown in page order; page indexes count the hidden pages; the Network
  // page stays active.
  void tabsPerCapability() {
    QFETCH(Model, model);
    QFETCH(QString, keys);
    QFETCH(QStringList, tabs);
    Board board(ConfigOf(model, keys.toLatin1().constData()));
    BoxRecorder boxes;
    TForm1 form;
    ConnectTo(form, board.Address());
    QVERIFY(boxes.Boxes().isEmpty());
    QCOMPARE(VisibleTabs(form), tabs);
    auto *pages = Child<QTabWidget>(form, "PageControl1");
    QCOMPARE(pages->indexOf(Child<QWidget>(form, "TabSheet4")), 1);
    QCOMPARE(pages->indexOf(Child<QWidget>(form, "TabSheet2")), 2);
    QCOMPARE(pages->currentIndex(), 0);
  }

  void valuesShown_data() {
    QTest::addColumn<bool>("remoteOn");
    QTest::addColumn<bool>("restore");
    QTest::newRow("remote control on, restore off") << true << false;
    QTest::newRow("remote control off, restore on") << false << true;
  }

  // Every getter's value lands in its control; a server name beyond the typing
  // limit is shown whole.
  void valuesShown() {
    QFETCH(bool, remoteOn);
    QFETCH(bool, restore);
    BoardConfig config;
    config.ipAddr = "127.001.002.003";
    config.subMask = "255.255.0.0";
    config.gateway = "127.1.0.254";
    config.version = "42";
    config.deviceId = "RB123456789012";
    config.password = "654321";
    config.dns = "127.0.0.53";
    config.webServer = std::string(45, 'w') + ".example.net";
    config.enableWeb = remoteOn;
    config.restoreState = restore;
    Board board(config);
    TForm1 form;
    ConnectTo(form, board.Address());

    QCOMPARE(Child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("127.1.2.3"));
    QCOMPARE(Child<QLineEdit>(form, "Edit2")->text(), QStringLiteral("255.255.0.0"));
    QCOMPARE(Child<QLineEdit>(form, "Edit3")->text(), QStringLiteral("127.1.0.254"));
    QCOMPARE(Child<QLabel>(form, "lblVersion")->text(), QStringLiteral("Firmware version: 1.0.42"));
    QCOMPARE(Child<QLineEdit>(form, "Edit4")->text(), QStringLiteral("RB123456789012"));
    QCOMPARE(Child<QLineEdit>(form, "Edit5")->text(), QStringLiteral("127.0.0.53"));
    QCOMPARE(Child<QLineEdit>(form, "Edit6")->text(), QString::fromStdString(config.webServer));
    QCOMPARE(Child<QLineEdit>(form, "Edit7")->text(), QStringLiteral("654321"));
    QCOMPARE(Child<QCheckBox>(form, "CheckBox3")->isChecked(), remoteOn);
    for (const char *name : {"Edit5", "Edit6", "Edit7"}) QCOMPARE(Child<QLineEdit>(form, name)->isEnabled(), remoteOn);
    QVERIFY(Child<QLineEdit>(form, "Edit4")->isEnabled());
    QVERIFY(Child<QLineEdit>(form, "Edit4")->isReadOnly());
    QCOMPARE(Child<QCheckBox>(form, "CheckBox1")->isChecked(), restore);
    for (const char *name : {"Edit1", "Edit2", "Edit3"}) QVERIFY(Child<QLineEdit>(form, name)->isEnabled());
    QVERIFY(Child<QPushButton>(form, "BitBtn2")->isEnabled());
    QCOMPARE(Child<QPushButton>(form, "BitBtn1")->text(), QStringLiteral("Disconnect"));
    QCOMPARE(form.windowTitle(), kTitle + QStringLiteral(" - ") + board.Address());
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
  }

  void keyModes_data() {
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("checked");
    QTest::newRow("each mode") << "12312312" << "12312312";
    QTest::newRow("all jog") << "33333333" << "33333333";
    QTest::newRow("modes outside 1..3 check none") << "10243x21" << "1-2-3-21";
  }

  // Connects twice, first to a board whose keys all follow, so that every key
  // has to change.
  void keyModes() {
    QFETCH(QString, reported);
    QFETCH(QString, checked);
    Board first(ConfigOf(Model::Basic, "22222222"));
    Board second(ConfigOf(Model::Basic, reported.toLatin1().constData()));
    TForm1 form;
    ConnectTo(form, first.Address());
    QCOMPARE(CheckedModes(form), QStringLiteral("22222222"));
    Child<QPushButton>(form, "BitBtn1")->click();
    ConnectTo(form, second.Address());
    QCOMPARE(CheckedModes(form), checked);
  }

  // "Enable Remote Control" enables exactly the DNS, server and password edits.
  void enableRemoteControl() {
    BoardConfig config;
    config.enableWeb = false;
    Board board(config);
    TForm1 form;
    form.show();
    ConnectTo(form, board.Address());
    auto *box = Child<QCheckBox>(form, "CheckBox3");
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    for (bool expected : {true, false, true}) {
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
      QCOMPARE(box->isChecked(), expected);
      for (const char *name : {"Edit5", "Edit6", "Edit7"}) QCOMPARE(Child<QLineEdit>(form, name)->isEnabled(), expected);
      QVERIFY(Child<QLineEdit>(form, "Edit4")->isEnabled());
    }
  }

  void disconnect_data() {
    QTest::addColumn<int>("page");
    for (int page = 0; page < 4; ++page) QTest::addRow("from page %d", page) << page;
  }

  // Disconnect is a change of the window only: no exchange with the board,
  // and the edits keep their texts. "Network" is the active page afterwards.
  void disconnect() {
    QFETCH(int, page);
    Board board;
    TForm1 form;
    ConnectTo(form, board.Address());
    auto *pages = Child<QTabWidget>(form, "PageControl1");
    pages->setCurrentIndex(page);
    board.TakeCommands();
    Child<QPushButton>(form, "BitBtn1")->click();

    QCOMPARE(board.TakeCommands(), QStringList{});
    QCOMPARE(form.windowTitle(), kTitle);
    QCOMPARE(Child<QLabel>(form, "lblVersion")->text(), QString());
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("Network")});
    QCOMPARE(pages->currentIndex(), 0);
    for (const char *name : {"Edit1", "Edit2", "Edit3"}) QVERIFY(!Child<QLineEdit>(form, name)->isEnabled());
    QCOMPARE(Child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(Child<QPushButton>(form, "BitBtn1")->text(), QStringLiteral("Connect"));
    QVERIFY(!Child<QPushButton>(form, "BitBtn2")->isEnabled());
  }

  void hiddenPagesUnreachable_data() {
    QTest::addColumn<QString>("board");  // "" for none: the disconnected look
    QTest::addColumn<QString>("input");
    const QStringList boards{"", "basic", "basic with keys", "remote control, no keys"};
    const QStringList inputs{"wheel down", "wheel up", "Right", "Left", "Ctrl+Tab", "Ctrl+Shift+Tab",
                             "Ctrl+PgDown", "End"};
    for (const QString &board : boards)
      for (const QString &input : inputs)
        QTest::addRow("%s, %s", board.isEmpty() ? "disconnected" : qPrintable(board), qPrintable(input))
            << board << input;
  }

  // No input of the tab strip or the page control makes a hidden page
  // current, whichever page is current when it comes.
  void hiddenPagesUnreachable() {
    QFETCH(QString, board);
    QFETCH(QString, input);
    std::unique_ptr<Board> device;
    if (!board.isEmpty()) {
      const Model model = board.startsWith(QLatin1String("remote")) ? Model::RemoteControl : Model::Basic;
      device = std::make_unique<Board>(ConfigOf(model, board == QLatin1String("basic with keys") ? "12312312" : ""));
    }
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    if (device) ConnectTo(form, device->Address());
    auto *pages = Child<QTabWidget>(form, "PageControl1");
    QTabBar *strip = pages->tabBar();
    strip->setFocus();
    for (int step = 0; step < 2 * pages->count(); ++step) {
      if (input.startsWith(QLatin1String("wheel"))) {
        const int delta = input.endsWith(QLatin1String("down")) ? -120 : 120;
        QWheelEvent wheel(QPointF(20, 10), strip->mapToGlobal(QPointF(20, 10)), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip, &wheel);
      } else {
        const QKeySequence keys(input);
        QTest::keyClick(strip, Qt::Key(keys[0].key()), keys[0].keyboardModifiers());
      }
      QVERIFY2(pages->isTabVisible(pages->currentIndex()), qPrintable(pages->tabText(pages->currentIndex())));
    }
  }

  void layout_data() {
    QTest::addColumn<bool>("songHidden");  // no face that stands in for 宋体: the fallback face
    QTest::addColumn<QString>("check");
    for (const bool hidden : {false, true}) {
      const char *face = hidden ? "Song face hidden" : "Song face";
      QTest::addRow("captions fit, %s", face) << hidden << "captions fit";
      QTest::addRow("group caption on its frame, %s", face) << hidden << "group caption";
    }
  }

  // Every caption fits its control with the face in use, and the tab strip
  // needs no scroll buttons. "Enable Remote Control" lies on the top line of
  // its group's frame, in a gap of the line, as Windows draws a group's title.
  void layout() {
    QFETCH(bool, songHidden);
    QFETCH(QString, check);
    if (songHidden && !SongHidden()) {
      RunWithSongHidden();
      return;
    }
    QVERIFY(SongHidden() == songHidden);
    Board board;
    TForm1 form;
    form.show();
    ConnectTo(form, board.Address());
    if (check == QLatin1String("captions fit")) {
      QTabBar *strip = Child<QTabWidget>(form, "PageControl1")->tabBar();
      QVERIFY2(strip->sizeHint().width() <= strip->width(),
               qPrintable(QStringLiteral("the tabs need %1 px").arg(strip->sizeHint().width())));
      for (QWidget *widget : form.findChildren<QWidget *>()) {
        const auto [room, need] = CaptionRoom(*widget);
        if (need.isNull()) continue;
        QVERIFY2(room.contains(need),
                 qPrintable(widget->objectName() + QStringLiteral(" needs %1 x %2 px, has %3 x %4")
                                                       .arg(need.width())
                                                       .arg(need.height())
                                                       .arg(room.width())
                                                       .arg(room.height())));
      }
    } else {
      Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
      const QImage picture = form.grab().toImage();
      auto *group = Child<QWidget>(form, "GroupBox2");
      auto *caption = Child<QWidget>(form, "CheckBox3");
      const QRect frame(group->mapTo(&form, QPoint()), group->size());
      const QRect title(caption->mapTo(&form, QPoint()), caption->size());
      // Down from above the group, halfway between its left edge and the
      // caption, the first row unlike the page is the frame's top line.
      const int x = (frame.left() + title.left()) / 2;
      const QRgb page = picture.pixel(x, frame.top() - 1);
      int line = frame.top();
      while (line < frame.bottom() && picture.pixel(x, line) == page) ++line;
      QVERIFY2(qAbs(line - title.center().y()) <= 1,
               qPrintable(QStringLiteral("the line at %1, the caption from %2 to %3")
                              .arg(line)
                              .arg(title.top())
                              .arg(title.bottom())));
      QVERIFY(picture.pixel(title.right(), line) == page);
      QVERIFY(picture.pixel(title.right() + 4, line) != page);
    }
  }

  void keyPressFocus_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("focus");  // after the keys, from "Follow" of key 1
    QTest::addColumn<QString>("modes");
    QTest::newRow("Tab to the checked mode of the next key") << QStringList{"Tab"} << "RadioButton6" << "23123123";
    QTest::newRow("Right checks Jog") << QStringList{"Right"} << "RadioButton3" << "33123123";
    QTest::newRow("Left checks Keep State") << QStringList{"Left"} << "RadioButton1" << "13123123";
    QTest::newRow("back with Shift+Tab to the new check")
        << QStringList{"Right", "Tab", "Shift+Tab"} << "RadioButton3" << "33123123";
  }

  // Within a key's panel the checked button is the tab stop, and the arrow
  // keys move between the three.
  void keyPressFocus() {
    QFETCH(QStringList, keys);
    QFETCH(QString, focus);
    QFETCH(QString, modes);
    Board board(ConfigOf(Model::RemoteControl, "23123123"));
    TForm1 form;
    form.show();
    ConnectTo(form, board.Address());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(2);
    Child<QRadioButton>(form, "RadioButton2")->setFocus(Qt::TabFocusReason);
    for (const QString &key : keys) {
      const QKeySequence sequence(key);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key(sequence[0].key()), sequence[0].keyboardModifiers());
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(CheckedModes(form), modes);
  }

  void tabOrder_data() {
    QTest::addColumn<QString>("board");  // "" for none: the disconnected look
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");  // from the tab strip, back to it
    const QStringList network{"Edit1", "Edit2", "Edit3"};
    const QStringList remote{"Edit4", "CheckBox3", "Edit5", "Edit6", "Edit7"};
    // The checked mode of each key, for keys 12312312.
    const QStringList keys{"RadioButton1",  "RadioButton5",  "RadioButton9",  "RadioButton10",
                           "RadioButton14", "RadioButton18", "RadioButton19", "RadioButton23"};
    const QStringList others{"CheckBox1"};
    const QStringList buttons{"BitBtn1", "BitBtn2", "BitBtn3", "tab strip"};
    QTest::newRow("disconnected") << "" << 0 << QStringList{"BitBtn1", "BitBtn3", "tab strip"};
    const QList<std::pair<QString, QList<std::pair<int, QStringList>>>> boards{
        {"remote control and keys", {{0, network}, {1, remote}, {2, keys}, {3, others}}},
        {"remote control, no keys", {{0, network}, {1, remote}, {3, others}}},
        {"basic with keys", {{0, network}, {2, keys}, {3, others}}},
        {"basic, no keys", {{0, network}, {3, others}}},
    };
    for (const auto &[board, pages] : boards)
      for (const auto &[page, fields] : pages)
        QTest::addRow("%s, page %d", qPrintable(board), page) << board << page << fields + buttons;
  }

  // Tab walks from the tab strip through the page's fields in reading order,
  // then Connect/Disconnect, Save and Exit, and back to the strip.
  void tabOrder() {
    QFETCH(QString, board);
    QFETCH(int, page);
    QFETCH(QStringList, order);
    std::unique_ptr<Board> device;
    if (!board.isEmpty()) {
      const Model model = board.startsWith(QLatin1String("remote")) ? Model::RemoteControl : Model::Basic;
      device = std::make_unique<Board>(ConfigOf(model, board.endsWith(QLatin1String("no keys")) ? "" : "12312312"));
    }
    TForm1 form;
    form.show();
    if (device) ConnectTo(form, device->Address());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *pages = Child<QTabWidget>(form, "PageControl1");
    pages->setCurrentIndex(page);
    QTabBar *strip = pages->tabBar();
    strip->setFocus(Qt::TabFocusReason);
    QStringList walked;
    while (walked.size() < order.size()) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget *focus = QApplication::focusWidget();
      walked.append(focus == strip ? QStringLiteral("tab strip") : focus->objectName());
      if (focus == strip) break;
    }
    QCOMPARE(walked, order);
  }

  // The version shown is the board's own: none for a board that reports none,
  // after a board that did.
  void versionOfTheBoardRead() {
    Board remote;
    Board basic(ConfigOf(Model::Basic, ""));
    TForm1 form;
    ConnectTo(form, remote.Address());
    QCOMPARE(Child<QLabel>(form, "lblVersion")->text(), QStringLiteral("Firmware version: 1.0.7"));
    Child<QPushButton>(form, "BitBtn1")->click();
    ConnectTo(form, basic.Address());
    QCOMPARE(Child<QLabel>(form, "lblVersion")->text(), QString());
  }

  void failedRead_data() {
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QString>("rawReply");
    QTest::addColumn<QString>("message");
    QTest::newRow("nobody listens") << false << "" << "Can not connect to the device.";
    QTest::newRow("malformed reply, message cut to 100 characters")
        << true << ">1.2.3;"
        << "Can not read device configurations. Please check if an updated version of this software is available";
  }

  // The library's message with the error icon; the window stays as it was.
  void failedRead() {
    QFETCH(bool, listening);
    QFETCH(QString, rawReply);
    QFETCH(QString, message);
    relay::sim::SimOptions options;
    if (!rawReply.isEmpty()) options.rawCfgReply = rawReply.toStdString();
    Board board({}, options);
    if (!listening) board.Sim().Stop();
    BoxRecorder boxes;
    TForm1 form;
    form.setObjectName(QStringLiteral("TForm1"));
    ConnectTo(form, board.Address());

    QCOMPARE(boxes.Texts(), QStringList{message});
    const RecordedBox box = boxes.Boxes().front();
    QCOMPARE(box.caption, kTitle);
    QCOMPARE(box.icon, relaytool::MB_ICONERROR);
    QCOMPARE(box.owner, QStringLiteral("TForm1"));
    QVERIFY(!box.waitCursor);
    QCOMPARE(form.windowTitle(), kTitle);
    QCOMPARE(VisibleTabs(form), QStringList{QStringLiteral("Network")});
    QVERIFY(!Child<QLineEdit>(form, "Edit1")->isEnabled());
    QCOMPARE(Child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("192.168.1.100"));
    QCOMPARE(form.CurrentTargetAddress(), board.Address());
  }

 private:
  std::unique_ptr<TempSettings> settings_;
};

RELAYTOOL_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
