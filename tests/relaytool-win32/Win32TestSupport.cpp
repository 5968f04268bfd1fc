#include "Win32TestSupport.h"

#include <MessageBoxSeam.h>
#include <MessageDlg.h>
#include <Resources.h>
#include <SimFleet.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace relaytool::win32::testing {
namespace {

constexpr char kDriverClass[] = "RelayToolTestDriver";
// Steps run on a timer: the dialog shows itself once its loop first finds
// the queue empty, which a posted message would keep from happening.
constexpr UINT_PTR kStepTimer = 1;
constexpr char kParentKey[] = "Software\\Fenmoor";
constexpr char kKey[] = "Software\\Fenmoor\\Vantor Config Util";

struct DialogDriver {
  const char *caption;
  std::vector<DialogStep> steps;
  std::size_t next = 0;
};

// Runs inside the dialog's modal loop: one step per timer message.
LRESULT CALLBACK DriverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_TIMER) return DefWindowProcA(hwnd, message, wParam, lParam);
  KillTimer(hwnd, kStepTimer);
  auto &driver = *reinterpret_cast<DialogDriver *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  const HWND dialog = FindWindowA("#32770", driver.caption);
  if (dialog == nullptr) return 0;
  if (!IsWindowVisible(dialog)) {  // not shown yet: the timer fell due first
    SetTimer(hwnd, kStepTimer, USER_TIMER_MINIMUM, nullptr);
    return 0;
  }
  if (driver.next == driver.steps.size()) {
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
  }
  driver.steps[driver.next++](dialog);
  SetTimer(hwnd, kStepTimer, USER_TIMER_MINIMUM, nullptr);
  return 0;
}

}  // namespace

RecordedBoxes::RecordedBoxes() {
  SetMessageBoxHandler([this](HWND owner, const std::string &text, UINT icon) {
    char className[16] = {};
    GetClassNameA(owner, className, sizeof className);
    boxes.push_back({text, icon, std::string(className) == "#32770"});
    if (onScreen) WhileShown(kApplicationTitle, {onScreen}, [&] { MessageDlg(owner, text, icon); });
  });
}

RecordedBoxes::~RecordedBoxes() { SetMessageBoxHandler({}); }

void Pump(HWND form) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) TForm1::Dispatch(msg, form);
}

void PressKey(HWND form, WPARAM key, bool control) {
  BYTE state[256];
  GetKeyboardState(state);
  const BYTE before = state[VK_CONTROL];
  state[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(state);
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 1 | (3u << 30));
  Pump(form);
  state[VK_CONTROL] = before;
  SetKeyboardState(state);
}

void Click(HWND form, HWND button) {
  SendMessageA(button, BM_CLICK, 0, 0);
  Pump(form);
}

void ClickTab(HWND form, HWND tabs, int position) {
  RECT item;
  SendMessageA(tabs, TCM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&item));
  const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(tabs, WM_LBUTTONUP, 0, point);
  Pump(form);
}

void WhileShown(const char *caption, std::vector<DialogStep> steps, const std::function<void()> &open) {
  WNDCLASSEXA driverClass = {};
  driverClass.cbSize = sizeof driverClass;
  driverClass.lpfnWndProc = DriverProc;
  driverClass.hInstance = GetModuleHandleA(nullptr);
  driverClass.lpszClassName = kDriverClass;
  RegisterClassExA(&driverClass);
  DialogDriver driver{caption, std::move(steps)};
  const HWND hwnd = CreateWindowExA(0, kDriverClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&driver));
  SetTimer(hwnd, kStepTimer, USER_TIMER_MINIMUM, nullptr);
  open();
  DestroyWindow(hwnd);
}

void WithConnectDialog(TForm1 &form, std::vector<DialogStep> steps) {
  WhileShown("Connect to", std::move(steps), [&form] {
    SendMessageA(form.Window(Ctl::BitBtn1), BM_CLICK, 0, 0);
    Pump(form.Handle());
  });
}

DialogStep TypeAddress(const std::string &text) {
  return [text](HWND dialog) { SetDlgItemTextA(dialog, IDC_EDIT1, text.c_str()); };
}

DialogStep PressOk() {
  return [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); };
}

void ConnectTo(TForm1 &form, const std::string &address) { WithConnectDialog(form, {TypeAddress(address), PressOk()}); }

std::unique_ptr<relay::sim::RelaySim> StartBoard(const std::string &address, const std::string &model) {
  relay::sim::BoardConfig base;
  base.ipAddr = address;
  base.version = "3";
  base.deviceId = "RB0000000000W3";
  base.webServer = "relay.example.net";
  auto board = std::make_unique<relay::sim::RelaySim>(*relay::sim::ModelConfig(base, model));
  if (!board->Start(address)) throw std::runtime_error("cannot listen on " + address);
  return board;
}

void RemoveStoredAddress() { RegDeleteTreeA(HKEY_CURRENT_USER, kParentKey); }

void StoreAddress(const std::string &address) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kTargetAddressValue, REG_SZ, address.c_str(),
                  static_cast<DWORD>(address.size() + 1));
}

std::string TextOf(HWND hwnd) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

namespace {

std::uint32_t Crc32(const std::string &bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string BigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

std::string Chunk(const std::string &kind, const std::string &body) {
  return BigEndian(static_cast<std::uint32_t>(body.size())) + kind + body + BigEndian(Crc32(kind + body));
}

// A zlib stream of stored (uncompressed) blocks.
std::string Stored(const std::string &raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (const unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + size >= raw.size();
    out += static_cast<char>(last ? 1 : 0);
    out += static_cast<char>(size & 0xFF);
    out += static_cast<char>(size >> 8);
    out += static_cast<char>(~size & 0xFF);
    out += static_cast<char>((~size >> 8) & 0xFF);
    out += raw.substr(at, size);
    if (last) break;
  }
  return out + BigEndian((b << 16) | a);
}

}  // namespace

bool SavePicture(HWND hwnd, const std::string &path) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void *bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  std::string raw;
  const auto *pixels = static_cast<const unsigned char *>(bits);
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < width; ++x) {
      const unsigned char *bgra = pixels + (static_cast<std::size_t>(y) * width + x) * 4;
      raw += {static_cast<char>(bgra[2]), static_cast<char>(bgra[1]), static_cast<char>(bgra[0])};
    }
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const std::string header = BigEndian(static_cast<std::uint32_t>(width)) +
                             BigEndian(static_cast<std::uint32_t>(height)) + std::string("\x08\x02\x00\x00\x00", 5);
  std::ofstream file(path, std::ios::binary);
  file << "\x89PNG\r\n\x1a\n" << Chunk("IHDR", header) << Chunk("IDAT", Stored(raw)) << Chunk("IEND", "");
  return static_cast<bool>(file);
}

}  // namespace relaytool::win32::testing
