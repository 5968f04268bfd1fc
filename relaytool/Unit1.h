// The main window: connects to a board, shows its settings on tabbed pages and
// saves them.
#pragma once

#include "ui_Unit1.h"

#include <QEvent>
#include <QWidget>

#include <array>

class QCloseEvent;
class QRadioButton;

// Posted by the window to itself to read the board at TargetAddress once the
// connect dialog is gone.
inline constexpr QEvent::Type WM_DEVICE_CONNECT = static_cast<QEvent::Type>(1147);

class TForm1 : public QWidget {
 public:
  explicit TForm1(QWidget *parent = nullptr);

  // The address the next connection will use.
  const QString &CurrentTargetAddress() const { return TargetAddress; }

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
  void ShowDisconnected();
  void ShowLastError(unsigned icon);

  // RadioButton1 .. RadioButton24, in key order.
  std::array<QRadioButton *, 24> ModeButtons() const;
  int PageIndex(const QWidget *page) const;
  // Shows or hides the tab of `page`; a hidden page cannot be made current.
  void ShowPage(QWidget *page, bool shown);

  Ui::TForm1 ui;
  QString TargetAddress;
};
