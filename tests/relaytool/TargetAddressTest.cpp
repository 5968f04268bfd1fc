// The remembered address: read once when the window is made, offered by the
// connect dialog, written back whenever the window closes.
#include "GuiTestSupport.h"

#include <QDir>
#include <QLineEdit>
#include <QPoint>

using namespace relaytool::testing;

namespace {

// Written to the settings file as the text of the value with a bare comma.
const QVariant kCommaText(QStringList{QStringLiteral("10.0.0.1"), QStringLiteral("port 5111")});

}  // namespace

class TargetAddressTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { settings_ = std::make_unique<TempSettings>(); }
  void cleanup() { settings_.reset(); }

  void startUp_data() {
    QTest::addColumn<QVariant>("stored");  // invalid: nothing stored
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("boxes");
    const QStringList none;
    const QStringList wrongType{QStringLiteral("Invalid data type for 'Target Address'")};
    QTest::newRow("first run") << QVariant() << "192.168.1.100" << none;
    QTest::newRow("stored address") << QVariant(QStringLiteral("10.0.0.7")) << "10.0.0.7" << none;
    QTest::newRow("empty value") << QVariant(QString()) << "192.168.1.100" << none;
    QTest::newRow("no address, offered unchanged") << QVariant(QStringLiteral(" not an address "))
                                                   << " not an address " << none;
    QTest::newRow("bytes") << QVariant(QByteArray("10.0.0.7")) << "" << wrongType;
    // Stored as the bare text "10.0.0.1, port 5111", as a hand edit leaves it.
    QTest::newRow("text with a comma") << kCommaText << "10.0.0.1, port 5111" << none;
    QTest::newRow("point") << QVariant(QPoint(1, 2)) << "" << wrongType;
  }

  // What the window starts with and what the dialog then offers; a value that
  // is not text is reported with the error icon and leaves the address empty.
  void startUp() {
    QFETCH(QVariant, stored);
    QFETCH(QString, address);
    QFETCH(QStringList, boxes);
    if (stored.isValid()) settings_->Store(stored);
    BoxRecorder recorder;
    TForm1 form;
    QCOMPARE(recorder.Texts(), boxes);
    for (const RecordedBox &box : recorder.Boxes()) {
      QCOMPARE(box.caption, kTitle);
      QCOMPARE(box.icon, relaytool::MB_ICONERROR);
    }
    QCOMPARE(form.CurrentTargetAddress(), address);

    QString offered;
    PressConnect(form, [&](QDialog &dialog) {
      offered = Child<QLineEdit>(dialog, "Edit1")->text();
      dialog.reject();
    });
    QCOMPARE(offered, address);
  }

  void writtenAtClose_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("written");
    QTest::newRow("first run stores the default") << QVariant() << "192.168.1.100";
    QTest::newRow("unchanged address written again") << QVariant(QStringLiteral("10.0.0.7")) << "10.0.0.7";
    QTest::newRow("no address written back unchanged") << QVariant(QStringLiteral("x.y")) << "x.y";
    QTest::newRow("text with a comma written back unchanged") << kCommaText << "10.0.0.1, port 5111";
    QTest::newRow("wrong type replaced by empty text") << QVariant(QByteArray("1")) << "";
  }

  // Every close writes the address as text, even with no connection made.
  void writtenAtClose() {
    QFETCH(QVariant, stored);
    QFETCH(QString, written);
    if (stored.isValid()) settings_->Store(stored);
    BoxRecorder recorder;
    {
      TForm1 form;
      form.show();
      QVERIFY(form.close());
    }
    const QVariant value = settings_->Stored();
    QCOMPARE(value.typeId(), int(QMetaType::QString));
    QCOMPARE(value.toString(), written);
  }

  // The accepted address is stored in its normal form, whether or not the
  // board answered, and the next start offers it.
  void acceptedAddressRemembered_data() {
    QTest::addColumn<bool>("boardAnswers");
    QTest::newRow("board answers") << true;
    QTest::newRow("nobody listens") << false;
  }

  void acceptedAddressRemembered() {
    QFETCH(bool, boardAnswers);
    Board board;
    const QString address = board.Address();
    if (!boardAnswers) board.Sim().Stop();
    BoxRecorder recorder;
    {
      TForm1 form;
      form.show();
      ConnectTo(form, QStringLiteral(" ") + address + QStringLiteral(" "));
      QCOMPARE(form.CurrentTargetAddress(), address);
      form.close();
    }
    QCOMPARE(recorder.Texts().size(), boardAnswers ? 0 : 1);
    QCOMPARE(settings_->Stored().toString(), address);
    TForm1 next;
    QCOMPARE(next.CurrentTargetAddress(), address);
  }

  // A write that fails is reported, and the window closes all the same.
  void failedWriteStillCloses() {
    settings_->Store(QStringLiteral("10.0.0.7"));
    QVERIFY(QFile::remove(settings_->FilePath()));
    QVERIFY(QDir().mkpath(settings_->FilePath()));  // a folder where the file belongs
    BoxRecorder recorder;
    TForm1 form;
    form.show();
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(recorder.Texts(), QStringList{QStringLiteral("Failed to set data for 'Target Address'")});
    QCOMPARE(recorder.Boxes().front().caption, kTitle);
    QCOMPARE(recorder.Boxes().front().icon, relaytool::MB_ICONERROR);
  }

 private:
  std::unique_ptr<TempSettings> settings_;
};

RELAYTOOL_GUI_TEST_MAIN(TargetAddressTest)
#include "TargetAddressTest.moc"
