#include "MessageBoxSeam.h"

#include "WindowPlacement.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <utility>

namespace relaytool {
namespace {

// A box's text, wrapped as a message box wraps one: at its spaces, at most
// `widest` pixels to a line, and a word longer than a line wherever it has to
// be, so that no text makes its box wider. The text itself stays as it is.
class BoxText : public QLabel {
 public:
  BoxText(const QString &text, int widest, QWidget *parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    document_.setDocumentMargin(0);
    document_.setDefaultFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document_.setDefaultTextOption(option);
    document_.setPlainText(text);
    document_.setTextWidth(std::min(std::ceil(document_.idealWidth()), qreal(widest)));
    setFixedSize(document_.size().toSize());
  }

 protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    document_.documentLayout()->draw(&painter, context);
  }

 private:
  QTextDocument document_;
};

// A modal box as Windows shows one: its icon, the text and OK, centred over
// the window that owns it.
class Box : public QDialog {
 public:
  Box(QWidget *owner, const QString &caption, const QString &text, unsigned icon) : QDialog(owner) {
    setWindowTitle(caption);
    auto *layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (icon == MB_ICONERROR || icon == MB_ICONINFORMATION) {
      const QStyle::StandardPixmap kind =
          icon == MB_ICONERROR ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxInformation;
      const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
      auto *picture = new QLabel(this);
      picture->setPixmap(style()->standardIcon(kind, nullptr, this).pixmap(QSize(size, size), devicePixelRatio()));
      layout->addWidget(picture, 0, 0, Qt::AlignTop);
    }
    // Half the work area, at most 500 pixels, as QMessageBox wraps a text.
    const int widest = std::min(screen()->availableGeometry().width() / 2, 500);
    auto *shown = new BoxText(text, widest, this);
    shown->setObjectName(QStringLiteral("Text"));
    layout->addWidget(shown, 0, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 1, 0, 1, 2);
  }

 protected:
  void showEvent(QShowEvent *event) override {
    QDialog::showEvent(event);
    if (parentWidget() != nullptr) CentreOver(*this, *parentWidget());
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
};

void ShowRealBox(QWidget *owner, const QString &caption, const QString &text, unsigned icon) {
  Box box(owner, caption, text, icon);
  box.exec();
}

MessageBoxHandler &CurrentHandler() {
  static MessageBoxHandler handler = ShowRealBox;
  return handler;
}

}  // namespace

void ShowMessageBox(QWidget *owner, const QString &caption, const QString &text, unsigned icon) {
  CurrentHandler()(owner, caption, text, icon);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  if (!handler) handler = ShowRealBox;
  return std::exchange(CurrentHandler(), std::move(handler));
}

}  // namespace relaytool
