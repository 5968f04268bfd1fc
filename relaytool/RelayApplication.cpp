#include "RelayApplication.h"

#include "BoardText.h"
#include "ErrorReport.h"

#include <WindowLogic.h>

#include <QFont>
#include <QIcon>
#include <QProxyStyle>

#include <exception>

namespace relaytool {
namespace {

// The platform's style with less room beside each tab caption, so that the
// main window's four tabs fit its strip without scroll buttons.
class RelayStyle : public QProxyStyle {
 public:
  int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override {
    if (metric == PM_TabBarTabHSpace) return 8;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

RelayApplication::RelayApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(FromBoardText(kApplicationTitle));
  // The desktop entry the windows belong to, for the desktop's name and icon.
  setDesktopFileName(QStringLiteral("com.fenmoor.relaytool"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/relaytool.svg")));
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
