// Where the connect dialog and the message boxes appear: centred over the
// window that owns them, within the work area of its screen.
#pragma once

class QWidget;

namespace relaytool {

// Moves `window`, about to be shown, so that its frame is centred over the
// frame of `owner`'s window and lies within that screen's work area. Its
// frame is taken to be as wide as the owner window's, which is shown.
void CentreOver(QWidget &window, const QWidget &owner);

}  // namespace relaytool
