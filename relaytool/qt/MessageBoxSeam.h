// The one road by which the program shows a message box. Tests replace the
// handler to record boxes instead of showing them.
#pragma once

#include <WindowLogic.h>

#include <QString>

#include <functional>

class QWidget;

namespace relaytool {

// Icon flags of a box.
inline constexpr unsigned MB_ICONERROR = static_cast<unsigned>(MessageIcon::Error);
inline constexpr unsigned MB_ICONINFORMATION = static_cast<unsigned>(MessageIcon::Information);

// Shows a modal box with an OK button, centred over `owner`'s window (which
// may be null); `icon` is MB_ICONERROR or MB_ICONINFORMATION. A long text
// wraps within half the work area, a word longer than a line wherever it must.
using MessageBoxHandler = std::function<void(QWidget *owner, const QString &caption,
                                             const QString &text, unsigned icon)>;

void ShowMessageBox(QWidget *owner, const QString &caption, const QString &text, unsigned icon);

// Installs `handler` (an empty one restores the real boxes) and returns the
// handler that was in place.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace relaytool
