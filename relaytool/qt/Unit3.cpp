#include "Unit3.h"

#include "Artwork.h"
#include "BoardText.h"
#include "MessageBoxSeam.h"
#include "TypingLimit.h"
#include "WindowPlacement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

// The picture for `label`'s size and device pixel ratio, with the colour of its
// bottom-left pixel made see-through, so that the bevel around it shows.
QPixmap TransparentPicture(const QLabel &label, const QString &name) {
  QPixmap picture = relaytool::ArtworkIcon(name).pixmap(label.size(), label.devicePixelRatio());
  const QColor seeThrough = picture.toImage().pixelColor(0, picture.height() - 1);
  picture.setMask(picture.createMaskFromColor(seeThrough));
  return picture;
}

}  // namespace

TConnectDlg::TConnectDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  ui.setupUi(this);
  new relaytool::TypingLimit(ui.Edit1);
  ui.Image1->setPixmap(TransparentPicture(*ui.Image1, QStringLiteral("cable")));
  connect(ui.OKBtn, &QPushButton::clicked, this, &TConnectDlg::OKBtnClick);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TConnectDlg::Address() const { return ui.Edit1->text(); }

void TConnectDlg::SetAddress(const QString &address) {
  ui.Edit1->setText(address);
  // Selected, so that typing replaces the offered address.
  ui.Edit1->selectAll();
}

void TConnectDlg::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (parentWidget() != nullptr) relaytool::CentreOver(*this, *parentWidget());
}

void TConnectDlg::OKBtnClick() { relaytool::OKBtnClick(*this); }

// The dialog has one edit, Edit1.
std::string TConnectDlg::Text(relaytool::DlgControl) const { return relaytool::ToBoardText(Address()); }

void TConnectDlg::SetText(relaytool::DlgControl, const std::string &text) {
  ui.Edit1->setText(relaytool::FromBoardText(text));
}

void TConnectDlg::Focus(relaytool::DlgControl) { ui.Edit1->setFocus(); }

void TConnectDlg::ShowMessageBox(const std::string &text, relaytool::MessageIcon icon) {
  relaytool::ShowMessageBox(this, relaytool::FromBoardText(relaytool::kApplicationTitle),
                            relaytool::FromBoardText(text), static_cast<unsigned>(icon));
}

void TConnectDlg::CloseWithOk() { accept(); }
