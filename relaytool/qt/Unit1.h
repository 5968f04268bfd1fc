// The main window: connects to a board, shows its settings on tabbed pages and
// saves them. Its handlers are relaytool::Form1Logic's, over the view below.
#pragma once

#include "ui_Unit1.h"

#include <WindowLogic.h>

#include <QEvent>
#include <QWidget>

#include <array>

class QCloseEvent;

// Posted by the window to itself to read the board at TargetAddress once the
// connect dialog is gone.
inline constexpr QEvent::Type WM_DEVICE_CONNECT = static_cast<QEvent::Type>(relaytool::WM_DEVICE_CONNECT);

class TForm1 : public QWidget, private relaytool::Form1View {
 public:
  explicit TForm1(QWidget *parent = nullptr);

  // The address the next connection will use.
  QString CurrentTargetAddress() const;

 protected:
  bool event(QEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void FormCreate();
  void FormClose();
  void BitBtn1Click();
  void OnConnect();
  void BitBtn2Click();
  void CheckBox3Click();

  std::string Text(relaytool::Control control) const override;
  void SetText(relaytool::Control control, const std::string &text) override;
  void SetCaption(const std::string &caption) override;
  bool Enabled(relaytool::Control control) const override;
  void SetEnabled(relaytool::Control control, bool enabled) override;
  bool Checked(relaytool::Control control) const override;
  void SetChecked(relaytool::Control control, bool checked) override;
  void ShowTab(relaytool::Page page, bool shown) override;
  void SetActivePage(relaytool::Page page) override;
  void Focus(relaytool::Control control) override;
  void ShowMessageBox(const std::string &text, relaytool::MessageIcon icon) override;
  short WhileWaiting(const std::function<short()> &call) override;
  relaytool::StoreAccess ReadStoredAddress(std::string &address) override;
  relaytool::StoreAccess WriteStoredAddress(const std::string &address) override;
  bool RunConnectDialog(std::string &address) override;
  void PostConnect() override;

  QWidget *Widget(relaytool::Control control) const;

  Ui::TForm1 ui;
  // By relaytool::Control, in its order.
  std::array<QWidget *, static_cast<std::size_t>(relaytool::Control::RadioButton24) + 1> controls_{};
  relaytool::Form1Logic logic_{*this};
};
