#include "Unit1.h"

#include "AddressSettings.h"
#include "Artwork.h"
#include "BoardText.h"
#include "MessageBoxSeam.h"
#include "TypingLimit.h"
#include "Unit3.h"
#include "WaitCursor.h"

#include <Form1Layout.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPalette>
#include <QTabBar>

#include <iterator>
#include <limits>

using relaytool::Control;
using relaytool::ControlKind;
using relaytool::FromBoardText;
using relaytool::ToBoardText;

namespace {

constexpr Qt::WindowFlags kWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                         Qt::WindowCloseButtonHint;

// 宋体 or, when it is missing, the first of its stand-ins (RelayApplication)
// that is installed: asked for by name, a missing face makes Qt search
// fontconfig for it at length.
QString WindowFace() {
  const QString face = QStringLiteral("宋体");
  const QStringList installed = QFontDatabase::families();
  for (const QString &family : QStringList{face} + QFont::substitutes(face))
    if (installed.contains(family, Qt::CaseInsensitive)) return family;
  return face;
}

// The face of every control, with lines 13 pixels high. The tab captions are
// a pixel smaller, so that all four tabs fit the strip. The Song face's line is
// as high as its size, and the layout's boxes are made for it; a face that
// stands in for it (none is installed) takes the largest size whose line is no
// higher, so that every caption still fits its box. At these sizes the Song
// face draws its own bitmaps, so it is asked for unhinted: that looks the same
// and spares the start FreeType's auto-hinter, which first surveys the face.
QFont WindowFont(int lineHeight) {
  QFont font(WindowFace());
  font.setHintingPreference(QFont::PreferNoHinting);
  int size = lineHeight;
  font.setPixelSize(size);
  while (size > 1 && QFontMetrics(font).height() > lineHeight) font.setPixelSize(--size);
  return font;
}

// Within a key's panel, as in a radio group, the checked button is the one
// tab stop; the arrow keys move between the three.
void MakeTabStop(QRadioButton *checked) {
  for (QRadioButton *button : checked->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
    button->setFocusPolicy(button == checked ? Qt::StrongFocus : Qt::ClickFocus);
}

// Gives the form's controls their captions, places, start states and typing
// limits, and its pages their tab captions and icons.
void BuildForm(QWidget *form, QTabWidget *pages) {
  form->setFixedSize(relaytool::kForm1Width, relaytool::kForm1Height);
  form->setWindowTitle(FromBoardText(relaytool::kApplicationTitle));
  for (const relaytool::Form1Control &control : relaytool::Form1Controls()) {
    if (control.kind == ControlKind::Page) continue;
    auto *widget = form->findChild<QWidget *>(QString::fromStdString(control.name));
    widget->setGeometry(control.left, control.top, control.width, control.height);
    widget->setEnabled((control.state & relaytool::kDisabled) == 0);
    const QString text = FromBoardText(control.text);
    if (auto *label = qobject_cast<QLabel *>(widget)) {
      label->setText(text);
      label->setWordWrap((control.state & relaytool::kWordWrap) != 0);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
      edit->setText(text);
      edit->setReadOnly((control.state & relaytool::kReadOnly) != 0);
      if (!edit->isReadOnly())
        new relaytool::TypingLimit(edit, control.limit > 0 ? control.limit : std::numeric_limits<int>::max());
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
      button->setText(text);
      button->setChecked((control.state & relaytool::kChecked) != 0);
    }
  }
  // The artwork is read by the program rather than by the form (Artwork.h).
  for (int index = 0; index < static_cast<int>(std::size(relaytool::kForm1Pages)); ++index) {
    const relaytool::Form1Page &page = relaytool::kForm1Pages[index];
    pages->setTabText(index, FromBoardText(page.caption));
    pages->setTabIcon(index, relaytool::ArtworkIcon(QLatin1String(relaytool::kTabIcons[page.icon])));
  }
}

}  // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent, kWindowFlags) {
  setFont(WindowFont(13));
  // The form makes each page without a parent, so the page's controls would
  // first lay out their texts in the application's face, loading it for
  // nothing; while the form is made, the window's face is the application's.
  const QFont applicationFont = QApplication::font();
  QApplication::setFont(font());
  ui.setupUi(this);
  QApplication::setFont(applicationFont);
  // The handlers' controls lead the layout's items, in the order of Control.
  for (std::size_t index = 0; index < controls_.size(); ++index) {
    const relaytool::Form1Control &control = relaytool::Form1ControlOf(static_cast<relaytool::Form1Item>(index));
    controls_[index] = findChild<QWidget *>(QString::fromStdString(control.name));
  }
  BuildForm(this, ui.PageControl1);
  ui.PageControl1->tabBar()->setFont(WindowFont(12));
  ui.BitBtn3->setIcon(relaytool::ArtworkIcon(QStringLiteral("close")));
  QPalette idPalette = ui.Edit4->palette();
  idPalette.setColor(QPalette::Base, idPalette.color(QPalette::ToolTipBase));
  ui.Edit4->setPalette(idPalette);
  for (const auto page : {relaytool::Page::TabSheet4, relaytool::Page::TabSheet2, relaytool::Page::TabSheet3})
    ShowTab(page, false);
  for (int number = 1; number <= relaytool::kModeButtons; ++number) {
    auto *button = static_cast<QRadioButton *>(Widget(relaytool::RadioButton(number)));
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

QString TForm1::CurrentTargetAddress() const { return FromBoardText(logic_.CurrentTargetAddress()); }

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

void TForm1::FormCreate() { logic_.FormCreate(); }

void TForm1::FormClose() { logic_.FormClose(); }

void TForm1::BitBtn1Click() { logic_.BitBtn1Click(); }

void TForm1::OnConnect() { logic_.OnConnect(); }

void TForm1::BitBtn2Click() { logic_.BitBtn2Click(); }

void TForm1::CheckBox3Click() { logic_.CheckBox3Click(); }

std::string TForm1::Text(Control control) const {
  return ToBoardText(qobject_cast<QLineEdit *>(Widget(control))->text());
}

void TForm1::SetText(Control control, const std::string &text) {
  QWidget *widget = Widget(control);
  if (auto *edit = qobject_cast<QLineEdit *>(widget))
    edit->setText(FromBoardText(text));
  else if (auto *label = qobject_cast<QLabel *>(widget))
    label->setText(FromBoardText(text));
  else
    qobject_cast<QAbstractButton *>(widget)->setText(FromBoardText(text));
}

void TForm1::SetCaption(const std::string &caption) { setWindowTitle(FromBoardText(caption)); }

bool TForm1::Enabled(Control control) const { return Widget(control)->isEnabled(); }

void TForm1::SetEnabled(Control control, bool enabled) { Widget(control)->setEnabled(enabled); }

bool TForm1::Checked(Control control) const {
  return qobject_cast<QAbstractButton *>(Widget(control))->isChecked();
}

void TForm1::SetChecked(Control control, bool checked) {
  // A radio button is set without its group's rule, which would never let the
  // checked button go; so a group can end with none checked.
  auto *button = qobject_cast<QAbstractButton *>(Widget(control));
  const bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(checked);
  button->setAutoExclusive(exclusive);
}

void TForm1::ShowTab(relaytool::Page page, bool shown) {
  // A hidden tab is disabled too, which keeps the wheel and the keys of the
  // tab strip from making its page current.
  const int index = static_cast<int>(page);
  ui.PageControl1->setTabEnabled(index, shown);
  ui.PageControl1->setTabVisible(index, shown);
}

void TForm1::SetActivePage(relaytool::Page page) { ui.PageControl1->setCurrentIndex(static_cast<int>(page)); }

void TForm1::Focus(Control control) { Widget(control)->setFocus(); }

void TForm1::ShowMessageBox(const std::string &text, relaytool::MessageIcon icon) {
  relaytool::ShowMessageBox(this, FromBoardText(relaytool::kApplicationTitle), FromBoardText(text),
                            static_cast<unsigned>(icon));
}

short TForm1::WhileWaiting(const std::function<short()> &call) {
  const relaytool::WaitCursor wait;
  return call();
}

relaytool::StoreAccess TForm1::ReadStoredAddress(std::string &address) {
  QString stored;
  const relaytool::StoreAccess access = relaytool::ReadTargetAddress(stored);
  address = ToBoardText(stored);
  return access;
}

relaytool::StoreAccess TForm1::WriteStoredAddress(const std::string &address) {
  return relaytool::WriteTargetAddress(FromBoardText(address));
}

bool TForm1::RunConnectDialog(std::string &address) {
  TConnectDlg dialog(this);
  dialog.SetAddress(FromBoardText(address));
  if (dialog.exec() != QDialog::Accepted) return false;
  address = ToBoardText(dialog.Address());
  return true;
}

void TForm1::PostConnect() {
  // The read blocks the window: it starts only after the window has been
  // repainted where the dialog was, the repaint being posted at low priority.
  update();
  QCoreApplication::postEvent(this, new QEvent(WM_DEVICE_CONNECT), Qt::LowEventPriority - 1);
}

QWidget *TForm1::Widget(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
