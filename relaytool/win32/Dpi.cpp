#include "Dpi.h"

namespace relaytool::win32 {
namespace {

// A function of user32.dll by name, or null where this Windows lacks it. The
// cast goes through a pointer to a function without arguments, which converts
// to any other function pointer.
template <typename Function>
Function *User32(const char *name) {
  const FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), name);
  return reinterpret_cast<Function *>(reinterpret_cast<void (*)()>(found));
}

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return static_cast<UINT>(dpi);
}

}  // namespace

RECT Scale(int left, int top, int width, int height, UINT dpi) {
  return {Scale(left, dpi), Scale(top, dpi), Scale(left + width, dpi), Scale(top + height, dpi)};
}

UINT DpiOf(HWND hwnd) {
  static const auto getDpiForWindow = User32<decltype(GetDpiForWindow)>("GetDpiForWindow");
  return getDpiForWindow != nullptr ? getDpiForWindow(hwnd) : SystemDpi();
}

SIZE FrameSize(HWND hwnd, int width, int height, UINT dpi) {
  static const auto adjustForDpi = User32<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
  RECT frame = {0, 0, width, height};
  if (adjustForDpi != nullptr)
    adjustForDpi(&frame, style, FALSE, exStyle, dpi);
  else
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

NONCLIENTMETRICSW NonClientMetrics(UINT dpi) {
  static const auto forDpi = User32<decltype(SystemParametersInfoForDpi)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const int system = static_cast<int>(SystemDpi());
  const auto scale = [dpi, system](int size) { return MulDiv(size, static_cast<int>(dpi), system); };
  metrics.lfCaptionFont.lfHeight = scale(metrics.lfCaptionFont.lfHeight);
  metrics.lfMessageFont.lfHeight = scale(metrics.lfMessageFont.lfHeight);
  metrics.iCaptionWidth = scale(metrics.iCaptionWidth);
  return metrics;
}

void LayOutOwnDialog(HWND dialog) {
  static const auto setBehavior = User32<decltype(SetDialogDpiChangeBehavior)>("SetDialogDpiChangeBehavior");
  if (setBehavior != nullptr) setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

}  // namespace relaytool::win32
