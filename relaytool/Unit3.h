// The connect dialog: asks for the board's address and accepts it only in the
// normal dotted-quad form.
#pragma once

#include "ui_Unit3.h"

#include <QDialog>

class QLineEdit;

class TConnectDlg : public QDialog {
 public:
  explicit TConnectDlg(QWidget *parent);

  QString Address() const;
  void SetAddress(const QString &address);

  // Checks the address in `edit`. A rejected text is reported with `message`
  // in a box owned by `owner`, after the edit got the focus. The edit then
  // shows the trimmed text, or the normal form when it was accepted. An item
  // that is not a number raises relay::ConversionError and leaves the edit as
  // it was.
  static bool CheckIpEdit(QWidget *owner, QLineEdit *edit, const QString &message);

  // The address rule on a text of the edit: trims `text` and, when it is an
  // address, rewrites it in normal form. Raises relay::ConversionError (and
  // leaves `text` alone) for an item that is not a number.
  static bool IsValidIpAddr(QString &text);

 private:
  void OKBtnClick();

  Ui::TConnectDlg ui;
};
