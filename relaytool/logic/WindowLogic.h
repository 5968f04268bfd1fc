// What relaytool's windows do, free of any toolkit: the handlers of the main
// window TForm1 and of the connect dialog TConnectDlg. Each toolkit's window
// implements a view below (its controls, message boxes, cursor, stored
// address) and forwards its events to the handlers, which call relaylink.
// Texts are single-byte, in the system's code page, as relaylink takes them.
#pragma once

#include <functional>
#include <string>

namespace relaytool {

// The program's title, the product's name: caption of every message box and
// of the disconnected main window.
inline constexpr char kApplicationTitle[] = RELAY_PRODUCT;

// Offered when no address is remembered.
inline constexpr char kDefaultTargetAddress[] = "192.168.1.100";

// Where the remembered address is kept per user: organisation and application
// of the Qt settings, the registry key Software\ORGANISATION\APPLICATION under
// HKEY_CURRENT_USER; and the value's name.
inline constexpr char kStoreOrganisation[] = "Fenmoor";
inline constexpr char kStoreApplication[] = "Vantor Config Util";
inline constexpr char kTargetAddressValue[] = "Target Address";

// The message the main window posts itself to read the board (WM_USER + 123).
inline constexpr unsigned WM_DEVICE_CONNECT = 1147;

// Icons of a message box, as MessageBox's flags number them.
enum class MessageIcon : unsigned { Error = 0x10, Information = 0x40 };

// The main window's controls that the handlers use. RadioButton(3k-2),
// (3k-1) and (3k) are the modes 1, 2 and 3 of key k.
enum class Control {
  Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7,
  lblVersion, CheckBox1, CheckBox3, BitBtn1, BitBtn2,
  RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6,
  RadioButton7, RadioButton8, RadioButton9, RadioButton10, RadioButton11, RadioButton12,
  RadioButton13, RadioButton14, RadioButton15, RadioButton16, RadioButton17, RadioButton18,
  RadioButton19, RadioButton20, RadioButton21, RadioButton22, RadioButton23, RadioButton24,
};

// The number of mode buttons, three for each of the eight keys.
inline constexpr int kModeButtons = 24;

// RadioButton1 .. RadioButton24 by number.
constexpr Control RadioButton(int number) {
  return static_cast<Control>(static_cast<int>(Control::RadioButton1) + number - 1);
}

// Pages of PageControl1; the value is the page index, hidden pages counted.
enum class Page { TabSheet1 = 0, TabSheet4 = 1, TabSheet2 = 2, TabSheet3 = 3 };

// How an access to the remembered address in the per-user store went.
enum class StoreAccess {
  Done,         // the key was opened and the value read or written
  NoKey,        // the key could not be opened (read) or created (write)
  ValueFailed,  // the key opened, but the value was not a string (read) or could not be set (write)
};

// The main window TForm1 as its handlers see it.
class Form1View {
 public:
  // The text of an edit.
  virtual std::string Text(Control control) const = 0;
  // Replaces the text of an edit, of lblVersion or of BitBtn1's caption.
  virtual void SetText(Control control, const std::string &text) = 0;
  // The window's caption.
  virtual void SetCaption(const std::string &caption) = 0;
  // Whether a control is enabled.
  virtual bool Enabled(Control control) const = 0;
  // Enables or disables a control.
  virtual void SetEnabled(Control control, bool enabled) = 0;
  // Whether a check box or radio button is checked.
  virtual bool Checked(Control control) const = 0;
  // Checks or unchecks a check box or a radio button; unchecking a radio button leaves its panel with none checked.
  virtual void SetChecked(Control control, bool checked) = 0;
  // Shows or hides the page's tab; hiding the active page's tab makes a remaining one active.
  virtual void ShowTab(Page page, bool shown) = 0;
  // Makes the page active.
  virtual void SetActivePage(Page page) = 0;
  // Gives a control the keyboard focus.
  virtual void Focus(Control control) = 0;
  // Shows a modal box owned by the window: `text`, caption kApplicationTitle, an OK button, `icon`.
  virtual void ShowMessageBox(const std::string &text, MessageIcon icon) = 0;
  // Shows the system wait cursor, then makes the blocking library call `call` and answers its result.
  virtual short WhileWaiting(const std::function<short()> &call) = 0;
  // Reads kTargetAddressValue into `address` (up to its first zero; "" when the value is missing).
  virtual StoreAccess ReadStoredAddress(std::string &address) = 0;
  // Stores `address` as kTargetAddressValue, a string, creating the key when it is missing.
  virtual StoreAccess WriteStoredAddress(const std::string &address) = 0;
  // Shows the connect dialog modally with its Edit1 = `address`; on OK sets `address` to its Edit1 and answers true.
  virtual bool RunConnectDialog(std::string &address) = 0;
  // Posts WM_DEVICE_CONNECT to the window, so that OnConnect runs once the current handler has returned.
  virtual void PostConnect() = 0;

 protected:
  ~Form1View() = default;
};

// The connect dialog's controls.
enum class DlgControl { Edit1 };

// The connect dialog TConnectDlg as its handlers see it.
class ConnectDlgView {
 public:
  // The text of an edit.
  virtual std::string Text(DlgControl control) const = 0;
  // Replaces the text of an edit.
  virtual void SetText(DlgControl control, const std::string &text) = 0;
  // Gives a control the keyboard focus.
  virtual void Focus(DlgControl control) = 0;
  // Shows a modal box owned by the dialog: `text`, caption kApplicationTitle, an OK button, `icon`.
  virtual void ShowMessageBox(const std::string &text, MessageIcon icon) = 0;
  // Ends the modal dialog with the result OK.
  virtual void CloseWithOk() = 0;

 protected:
  ~ConnectDlgView() = default;
};

// The general error report's text for a failure that escaped a user action:
// `text`, with a full stop added when its last character's code is above '.'.
std::string WithFullStop(std::string text);

// The main window's handlers, over its view. Holds TargetAddress.
class Form1Logic {
 public:
  explicit Form1Logic(Form1View &view) : view_(view) {}

  // The address the next connection will use.
  const std::string &CurrentTargetAddress() const { return TargetAddress; }

  // Reads the remembered address into TargetAddress (the default when none).
  void FormCreate();
  // Stores TargetAddress; a value that cannot be set is reported, and the close goes on.
  void FormClose();
  // Disconnects while connected; otherwise asks for the address and posts the connect.
  void BitBtn1Click();
  // Reads the board at TargetAddress and shows what it reported.
  void OnConnect();
  // Hands the edited values to the library, saves and reports the outcome.
  void BitBtn2Click();
  // Enables the remote-control fields exactly while CheckBox3 is checked.
  void CheckBox3Click();
  // Returns the window to the disconnected look.
  void ShowDisconnected();
  // Shows the library's last message with `icon`.
  void ShowLastError(MessageIcon icon);

 private:
  // The general error report, in a box owned by the window.
  void ReportFailure(const std::string &text);

  Form1View &view_;
  std::string TargetAddress;
};

// Checks the address in `edit` and, when it is rejected, focuses the edit and
// shows `message`; the edit then holds the trimmed text, or the normal form
// when accepted. An item that is not a number raises relay::ConversionError
// (for the general error report) and leaves the edit as it was.
bool CheckIpEdit(ConnectDlgView &owner, DlgControl edit, const std::string &message);

// The dialog's OK: closes it with OK when CheckIpEdit accepts its Edit1.
void OKBtnClick(ConnectDlgView &dialog);

}  // namespace relaytool
