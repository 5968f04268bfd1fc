// The connect dialog: asks for the board's address and accepts it only in the
// normal dotted-quad form. Its handler is relaytool::OKBtnClick, over the view
// below.
#pragma once

#include "ui_Unit3.h"

#include <WindowLogic.h>

#include <QDialog>

class TConnectDlg : public QDialog, private relaytool::ConnectDlgView {
 public:
  explicit TConnectDlg(QWidget *parent);

  QString Address() const;
  void SetAddress(const QString &address);

 protected:
  // Centres the dialog over the window that owns it.
  void showEvent(QShowEvent *event) override;

 private:
  void OKBtnClick();

  std::string Text(relaytool::DlgControl control) const override;
  void SetText(relaytool::DlgControl control, const std::string &text) override;
  void Focus(relaytool::DlgControl control) override;
  void ShowMessageBox(const std::string &text, relaytool::MessageIcon icon) override;
  void CloseWithOk() override;

  Ui::TConnectDlg ui;
};
