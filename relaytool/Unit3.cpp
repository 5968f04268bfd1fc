#include "Unit3.h"

#include "MessageBoxSeam.h"

#include <ValueRules.h>

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <string>

namespace {

// The picture with the colour of its bottom-left pixel made see-through, so
// that the bevel around it shows.
QPixmap TransparentPicture(const QString &path) {
  QPixmap picture(path);
  const QColor seeThrough = picture.toImage().pixelColor(0, picture.height() - 1);
  picture.setMask(picture.createMaskFromColor(seeThrough));
  return picture;
}

}  // namespace

TConnectDlg::TConnectDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  ui.setupUi(this);
  ui.Image1->setPixmap(TransparentPicture(QStringLiteral(":/icons/cable.svg")));
  connect(ui.OKBtn, &QPushButton::clicked, this, &TConnectDlg::OKBtnClick);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TConnectDlg::Address() const { return ui.Edit1->text(); }

void TConnectDlg::SetAddress(const QString &address) {
  ui.Edit1->setText(address);
  // Selected, so that typing replaces the offered address.
  ui.Edit1->selectAll();
}

void TConnectDlg::OKBtnClick() {
  if (CheckIpEdit(this, ui.Edit1, QStringLiteral("IP address is wrong."))) accept();
}

bool TConnectDlg::CheckIpEdit(QWidget *owner, QLineEdit *edit, const QString &message) {
  QString text = edit->text();
  const bool valid = IsValidIpAddr(text);
  if (!valid) {
    edit->setFocus();
    relaytool::ShowMessageBox(owner, QCoreApplication::applicationName(), message,
                              relaytool::MB_ICONINFORMATION);
  }
  edit->setText(text);
  return valid;
}

bool TConnectDlg::IsValidIpAddr(QString &text) {
  std::string bytes = text.toLocal8Bit().toStdString();
  const bool valid = relay::IsValidIpAddr(bytes);
  text = QString::fromLocal8Bit(bytes);
  return valid;
}
