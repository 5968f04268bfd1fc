#include "Unit1.h"

#include "AddressSettings.h"
#include "ErrorReport.h"
#include "MessageBoxSeam.h"
#include "TypingLimit.h"
#include "Unit3.h"
#include "WaitCursor.h"

#include <relaylink.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QPalette>
#include <QTabBar>

namespace {

using relaytool::MB_ICONERROR;
using relaytool::MB_ICONINFORMATION;

// Output buffers handed to the library hold this many characters and a zero.
constexpr unsigned short kTextLength = 100;

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

QString ApplicationTitle() { return QCoreApplication::applicationName(); }

// Texts cross to the library in the system's single-byte encoding.
QByteArray Bytes(const QLineEdit *edit) { return edit->text().toLocal8Bit(); }

// RadioButton(3k-2), (3k-1) and (3k) stand for modes 1, 2 and 3 of key k.
struct KeyMode {
  short key;
  short mode;
};

KeyMode KeyModeOf(std::size_t buttonIndex) {
  return {static_cast<short>(buttonIndex / 3 + 1), static_cast<short>(buttonIndex % 3 + 1)};
}

// The face of every control, 13 pixels high. The tab captions are a pixel
// smaller, so that all four tabs fit the strip.
QFont WindowFont(int pixelSize) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixelSize);
  return font;
}

// Within a key's panel, as in a radio group, the checked button is the one
// tab stop; the arrow keys move between the three.
void MakeTabStop(QRadioButton *checked) {
  for (QRadioButton *button : checked->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
    button->setFocusPolicy(button == checked ? Qt::StrongFocus : Qt::ClickFocus);
}

// Checks or unchecks one button of a group without the group's own rule, which
// would never let the checked button go; so a group can end with none checked.
void SetModeChecked(QRadioButton *button, bool checked) {
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(true);
}

}  // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent, kWindowFlags) {
  setFont(WindowFont(13));
  ui.setupUi(this);
  ui.PageControl1->tabBar()->setFont(WindowFont(12));
  // A title of six spaces leaves the room at the top of the border where
  // CheckBox3 reads as the group's title (the form compiler drops a title of
  // spaces only).
  ui.GroupBox2->setTitle(QString(6, QLatin1Char(' ')));
  QPalette idPalette = ui.Edit4->palette();
  idPalette.setColor(QPalette::Base, idPalette.color(QPalette::ToolTipBase));
  ui.Edit4->setPalette(idPalette);
  new relaytool::TypingLimit(ui.Edit6, 39);
  new relaytool::TypingLimit(ui.Edit7, 6);
  for (QWidget *page : {ui.TabSheet4, ui.TabSheet2, ui.TabSheet3}) ShowPage(page, false);
  for (QRadioButton *button : ModeButtons()) {
    if (button->isChecked()) MakeTabStop(button);
    connect(button, &QRadioButton::toggled, this, [button](bool checked) {
      if (checked) MakeTabStop(button);
    });
  }

  connect(ui.BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
  connect(ui.BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
  connect(ui.BitBtn3, &QPushButton::clicked, this, &QWidget::close);
  connect(ui.CheckBox3, &QCheckBox::clicked, this, &TForm1::CheckBox3Click);
  FormCreate();
}

bool TForm1::event(QEvent *event) {
  if (event->type() == WM_DEVICE_CONNECT) {
    OnConnect();
    return true;
  }
  return QWidget::event(event);
}

void TForm1::closeEvent(QCloseEvent *event) {
  FormClose();
  event->accept();
}

void TForm1::FormCreate() {
  const relaytool::StoredAddress stored = relaytool::ReadTargetAddress();
  if (stored.failure) {
    relaytool::ReportFailure(*stored.failure);
    return;
  }
  TargetAddress = stored.address.isEmpty() ? QStringLiteral("192.168.1.100") : stored.address;
}

void TForm1::FormClose() {
  // A failed write is reported, but never keeps the user from quitting.
  if (const auto failure = relaytool::WriteTargetAddress(TargetAddress))
    relaytool::ReportFailure(*failure);
}

void TForm1::BitBtn1Click() {
  if (ui.Edit1->isEnabled()) {
    ShowDisconnected();
    return;
  }
  TConnectDlg dialog(this);
  dialog.SetAddress(TargetAddress);
  if (dialog.exec() != QDialog::Accepted) return;
  TargetAddress = dialog.Address();
  // The read blocks the window: it starts only after the window has been
  // repainted where the dialog was, the repaint being posted at low priority.
  update();
  QCoreApplication::postEvent(this, new QEvent(WM_DEVICE_CONNECT), Qt::LowEventPriority - 1);
}

void TForm1::OnConnect() {
  short read = 0;
  {
    const relaytool::WaitCursor wait;
    read = ReadDeviceCfg(TargetAddress.toLocal8Bit().constData());
  }
  if (read != 1) {
    ShowLastError(MB_ICONERROR);
    return;
  }
  ShowPage(ui.TabSheet4, CanCfgWeb() == 1);
  ShowPage(ui.TabSheet2, CanCfgButton() == 1);
  ShowPage(ui.TabSheet3, CanCfgMisc() == 1);

  // One buffer for every getter, not cleared between them; a control takes its
  // text up to the first zero.
  char buffer[kTextLength + 1] = {};
  const auto text = [&buffer] { return QString::fromLocal8Bit(buffer); };
  if (GetIpAddr(buffer, kTextLength) == 1) ui.Edit1->setText(text());
  if (GetSubMask(buffer, kTextLength) == 1) ui.Edit2->setText(text());
  if (GetGateway(buffer, kTextLength) == 1) ui.Edit3->setText(text());
  if (GetVersion(buffer, kTextLength) == 1) ui.lblVersion->setText(QStringLiteral("Firmware version: ") + text());

  if (CanCfgWeb() == 1) {
    if (GetDeviceId(buffer, kTextLength) == 1) ui.Edit4->setText(text());
    if (GetDns(buffer, kTextLength) == 1) ui.Edit5->setText(text());
    if (GetWebServer(buffer, kTextLength) == 1) ui.Edit6->setText(text());
    if (GetPassword(buffer, kTextLength) == 1) ui.Edit7->setText(text());
    ui.CheckBox3->setChecked(GetEnableWeb() == 1);
    CheckBox3Click();
  }
  if (CanCfgButton() == 1) {
    const auto buttons = ModeButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const KeyMode button = KeyModeOf(i);
      SetModeChecked(buttons[i], GetButtonCfg(button.key) == button.mode);
    }
  }
  ui.CheckBox1->setChecked(GetRestoreState() == 1);

  setWindowTitle(ApplicationTitle() + QStringLiteral(" - ") + TargetAddress);
  ui.Edit1->setEnabled(true);
  ui.Edit2->setEnabled(true);
  ui.Edit3->setEnabled(true);
  ui.BitBtn1->setText(QStringLiteral("Disconnect"));
  ui.BitBtn2->setEnabled(true);
}

void TForm1::BitBtn2Click() {
  SetIpAddr(Bytes(ui.Edit1).constData());
  SetSubMask(Bytes(ui.Edit2).constData());
  SetGateway(Bytes(ui.Edit3).constData());
  if (CanCfgWeb() == 1) {
    if (ui.CheckBox3->isChecked()) {
      SetEnableWeb(1);
      SetDns(Bytes(ui.Edit5).constData());
      SetWebServer(Bytes(ui.Edit6).constData());
      SetPassword(Bytes(ui.Edit7).constData());
    } else {
      SetEnableWeb(0);
    }
  }
  if (CanCfgButton() == 1) {
    const auto buttons = ModeButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      const KeyMode button = KeyModeOf(i);
      if (buttons[i]->isChecked()) SetButtonCfg(button.key, button.mode);
    }
  }
  SetRestoreState(ui.CheckBox1->isChecked() ? 1 : 0);

  short saved = 0;
  {
    const relaytool::WaitCursor wait;
    saved = SaveDeviceCfg();
  }
  if (saved == 1) {
    ShowLastError(MB_ICONINFORMATION);
  } else {
    // A rejected value leads the user to its field before the message.
    QWidget *page = nullptr;
    QLineEdit *field = nullptr;
    switch (GetErrorCode()) {
      case RELAYLINK_BAD_IP_ADDR: page = ui.TabSheet1; field = ui.Edit1; break;
      case RELAYLINK_BAD_SUB_MASK: page = ui.TabSheet1; field = ui.Edit2; break;
      case RELAYLINK_BAD_GATEWAY: page = ui.TabSheet1; field = ui.Edit3; break;
      case RELAYLINK_BAD_DNS: page = ui.TabSheet4; field = ui.Edit5; break;
      case RELAYLINK_BAD_WEB_SERVER: page = ui.TabSheet4; field = ui.Edit6; break;
      case RELAYLINK_BAD_PASSWORD: page = ui.TabSheet4; field = ui.Edit7; break;
      default: break;
    }
    if (field != nullptr) {
      ui.PageControl1->setCurrentIndex(PageIndex(page));
      field->setFocus();
      ShowLastError(MB_ICONINFORMATION);
    } else {
      ShowLastError(MB_ICONERROR);
    }
  }
  if (DeviceCfgReady() == 0) {
    ShowDisconnected();
    // Not on Exit, where the focus would move from the disabled Save.
    ui.BitBtn1->setFocus();
  }
}

void TForm1::CheckBox3Click() {
  const bool enabled = ui.CheckBox3->isChecked();
  ui.Edit5->setEnabled(enabled);
  ui.Edit6->setEnabled(enabled);
  ui.Edit7->setEnabled(enabled);
}

void TForm1::ShowDisconnected() {
  setWindowTitle(ApplicationTitle());
  ui.lblVersion->clear();
  ui.Edit1->setEnabled(false);
  ui.Edit2->setEnabled(false);
  ui.Edit3->setEnabled(false);
  ShowPage(ui.TabSheet2, false);
  ShowPage(ui.TabSheet3, false);
  ShowPage(ui.TabSheet4, false);
  ui.BitBtn1->setText(QStringLiteral("Connect"));
  ui.BitBtn2->setEnabled(false);
}

void TForm1::ShowLastError(unsigned icon) {
  char buffer[kTextLength + 1] = {};
  GetErrorMsg(buffer, kTextLength);
  relaytool::ShowMessageBox(this, ApplicationTitle(), QString::fromLocal8Bit(buffer), icon);
}

std::array<QRadioButton *, 24> TForm1::ModeButtons() const {
  return {ui.RadioButton1,  ui.RadioButton2,  ui.RadioButton3,  ui.RadioButton4,  ui.RadioButton5,
          ui.RadioButton6,  ui.RadioButton7,  ui.RadioButton8,  ui.RadioButton9,  ui.RadioButton10,
          ui.RadioButton11, ui.RadioButton12, ui.RadioButton13, ui.RadioButton14, ui.RadioButton15,
          ui.RadioButton16, ui.RadioButton17, ui.RadioButton18, ui.RadioButton19, ui.RadioButton20,
          ui.RadioButton21, ui.RadioButton22, ui.RadioButton23, ui.RadioButton24};
}

int TForm1::PageIndex(const QWidget *page) const { return ui.PageControl1->indexOf(page); }

void TForm1::ShowPage(QWidget *page, bool shown) {
  // A hidden tab is disabled too, which keeps the wheel and the keys of the
  // tab strip from making its page current.
  const int index = PageIndex(page);
  ui.PageControl1->setTabEnabled(index, shown);
  ui.PageControl1->setTabVisible(index, shown);
}
