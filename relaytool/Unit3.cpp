#include "Unit3.h"

#include "MessageBoxSeam.h"

#include <ValueRules.h>

#include <QLineEdit>
#include <QPushButton>

#include <string>

TConnectDlg::TConnectDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  ui.setupUi(this);
  connect(ui.OKBtn, &QPushButton::clicked, this, &TConnectDlg::OKBtnClick);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TConnectDlg::Address() const { return ui.Edit1->text(); }

void TConnectDlg::SetAddress(const QString &address) { ui.Edit1->setText(address); }

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
