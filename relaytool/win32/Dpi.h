// The windows' scale: their layouts are designed at 96 DPI and scaled by the
// DPI of the monitor they are on. The per-monitor functions of Windows 10 are
// looked up when first needed, so that older systems still start the program;
// there every window has the system DPI.
#pragma once

#include <windows.h>

namespace relaytool::win32 {

// The DPI of the layouts' pixel figures.
inline constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;

// `value` design pixels at `dpi`, rounded to the nearest pixel.
inline int Scale(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi)); }

// A design rectangle at `dpi`: its edges are scaled, so that rectangles that
// touch or keep apart in the design still do.
RECT Scale(int left, int top, int width, int height, UINT dpi);

// The DPI of `hwnd`'s monitor (GetDpiForWindow), or the system DPI where
// Windows does not tell it.
UINT DpiOf(HWND hwnd);

// The size of `hwnd` around a client area of `width` by `height` pixels, its
// frame drawn at `dpi` where Windows can tell that frame's size.
SIZE FrameSize(HWND hwnd, int width, int height, UINT dpi);

// The metrics of window frames and message boxes at `dpi`; where Windows
// tells only the system DPI's, those that the program uses (the caption and
// message fonts and the caption buttons' width) are scaled.
NONCLIENTMETRICSW NonClientMetrics(UINT dpi);

// Leaves a dialog's answer to a DPI change to its own code: the dialog
// manager would otherwise lay it out again from its template.
void LayOutOwnDialog(HWND dialog);

}  // namespace relaytool::win32
