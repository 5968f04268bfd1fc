#include "RelayApplication.h"

#include "Artwork.h"
#include "BoardText.h"
#include "ErrorReport.h"

#include <WindowLogic.h>

#include <QFont>
#include <QPainter>
#include <QProxyStyle>
#include <QRegion>
#include <QStyleOption>
#include <QWidget>
#include <qdrawutil.h>

#include <exception>

namespace relaytool {
namespace {

// The platform's style with less room beside each tab caption, so that the
// main window's four tabs fit its strip without scroll buttons, and with a
// group's frame drawn as Windows draws it.
class RelayStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override {
    if (metric == PM_TabBarTabHSpace) return 8;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  // An etched line whose top runs through the middle of the title's line,
  // with a gap where a control lies on it: GroupBox2's title is CheckBox3, a
  // control of its page above the group.
  void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override {
    if (element != PE_FrameGroupBox || widget == nullptr || widget->parentWidget() == nullptr) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    // The siblings after the group lie above it.
    QRegion frame(option->rect);
    bool above = false;
    for (const QObject *sibling : widget->parentWidget()->children()) {
      const auto *control = qobject_cast<const QWidget *>(sibling);
      if (above && control != nullptr && !control->isHidden()) frame -= control->geometry().translated(-widget->pos());
      above = above || sibling == widget;
    }
    painter->save();
    painter->setClipRegion(frame, Qt::IntersectClip);
    qDrawShadeRect(painter, option->rect.adjusted(0, option->fontMetrics.height() / 2, 0, 0), option->palette,
                   true);
    painter->restore();
  }
};

}  // namespace

RelayApplication::RelayApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(FromBoardText(kApplicationTitle));
  // The desktop entry the windows belong to, for the desktop's name and icon.
  setDesktopFileName(QStringLiteral("com.fenmoor.relaytool"));
  setWindowIcon(ArtworkIcon(QStringLiteral("relaytool")));
  setStyle(new RelayStyle);
  // The main window's face, 宋体, is found on Chinese systems only. Elsewhere
  // free Song faces stand in for it (scripts/setup installs them), with its
  // metrics: half-width Latin letters and a line as high as the face's size.
  QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                                                    QStringLiteral("AR PL SungtiL GB")});
}

bool RelayApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &failure) {
    // The action that raised it is abandoned; the program goes on.
    ReportFailure(FromBoardText(failure.what()));
    return false;
  }
}

}  // namespace relaytool
