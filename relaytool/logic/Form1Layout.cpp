#include "Form1Layout.h"

#include <ProgramLimits.h>
#include <ValueRules.h>

#include <algorithm>

namespace relaytool {
namespace {

using enum Form1Item;
using enum ControlKind;

std::vector<Form1Control> MakeControls() {
  const int password = static_cast<int>(relay::kPasswordLength);
  std::vector<Form1Control> controls = {
      {TabSheet1, "TabSheet1", Form, Page, "", 0, 0, 0, 0, kEnabled, 0},
      {TabSheet4, "TabSheet4", Form, Page, "", 0, 0, 0, 0, kEnabled, 0},
      {TabSheet2, "TabSheet2", Form, Page, "", 0, 0, 0, 0, kEnabled, 0},
      {TabSheet3, "TabSheet3", Form, Page, "", 0, 0, 0, 0, kEnabled, 0},
      {BitBtn1, "BitBtn1", Form, Button, "Connect", 56, 348, 75, 25, kEnabled, 0},
      {BitBtn2, "BitBtn2", Form, Button, "Save", 136, 348, 75, 25, kDisabled, 0},
      {BitBtn3, "BitBtn3", Form, Button, "Exit", 216, 348, 75, 25, kEnabled, 0},
      {PageControl1, "PageControl1", Form, TabControl, "", 8, 8, 329, 329, kEnabled, 0},

      {Edit1, "Edit1", TabSheet1, Edit, kDefaultTargetAddress, 112, 24, 129, 21, kDisabled, 0},
      {Edit2, "Edit2", TabSheet1, Edit, "255.255.255.0", 112, 56, 129, 21, kDisabled, 0},
      {Edit3, "Edit3", TabSheet1, Edit, "192.168.1.1", 112, 88, 129, 21, kDisabled, 0},
      {Label9, "Label9", TabSheet1, Label, "IP Address", 24, 28, 73, 13, kEnabled, 0},
      {Label10, "Label10", TabSheet1, Label, "Subnet Mask", 24, 60, 81, 13, kEnabled, 0},
      {Label11, "Label11", TabSheet1, Label, "Gateway", 24, 92, 73, 13, kEnabled, 0},
      {lblVersion, "lblVersion", TabSheet1, Label, "", 24, 256, 257, 13, kEnabled, 0},

      {Edit4, "Edit4", TabSheet4, Edit, "", 104, 24, 145, 21, kReadOnly, 0},
      // The group's title: it lies over the group's top border, in a gap of
      // the border; made before the group, so that it lies above it.
      {CheckBox3, "CheckBox3", TabSheet4, CheckBox, "Enable Remote Control", 32, 61, 169, 17, kEnabled, 0},
      {GroupBox2, "GroupBox2", TabSheet4, GroupBox, "", 16, 64, 281, 121, kEnabled, 0},
      {Edit5, "Edit5", GroupBox2, Edit, "192.168.1.1", 88, 24, 145, 21, kDisabled, 0},
      {Edit6, "Edit6", GroupBox2, Edit, "remote.example.com", 88, 52, 145, 21, kDisabled,
       static_cast<int>(relay::kMaxServerNameLength)},
      {Edit7, "Edit7", GroupBox2, Edit, std::string(relay::kPasswordLength, '0'), 88, 80, 57, 21, kDisabled, password},
      {Label1, "Label1", TabSheet4, Label, "Device ID", 24, 28, 73, 13, kEnabled, 0},
      {Label2, "Label2", GroupBox2, Label, "DNS", 16, 28, 65, 13, kEnabled, 0},
      {Label3, "Label3", GroupBox2, Label, "Server", 16, 56, 65, 17, kWordWrap, 0},
      {Label4, "Label4", GroupBox2, Label, "Password", 16, 88, 65, 13, kEnabled, 0},
      {Label5, "Label5", GroupBox2, Label, "(" + std::to_string(password) + " digits)", 152, 88, 113, 13, kEnabled, 0},

      {CheckBox1, "CheckBox1", TabSheet3, CheckBox, "Restore relay state before power off", 24, 24, 281, 17, kEnabled,
       0},
  };
  // Key Press: a row per key k, 24 pixels high, with its label and a panel
  // (no higher than the row, so that, scaled, rows never overlap) holding its
  // three mode buttons, RadioButton(3k-2) .. RadioButton(3k) for
  // the modes 1 .. 3; the first mode is checked at start.
  struct Mode {
    const char *caption;
    int left, width;
  };
  constexpr Mode kModes[] = {{"Keep State", 0, 97}, {"Follow", 104, 73}, {"Jog", 184, 65}};
  for (int k = 1; k <= 8; ++k) {
    const int row = 24 * (k - 1);
    const std::string key = std::to_string(k);
    const Form1Item panel = Nth(Panel1, k - 1);
    controls.push_back({Nth(Label12, k - 1), "Label" + std::to_string(11 + k), TabSheet2, Label, "Key " + key, 24,
                        20 + row, 41, 13, kEnabled, 0});
    controls.push_back({panel, "Panel" + key, TabSheet2, Panel, "", 80, 16 + row, 249, 24, kEnabled, 0});
    for (int mode = 0; mode < 3; ++mode) {
      const int number = 3 * (k - 1) + mode + 1;
      controls.push_back({Nth(RadioButton1, number - 1), "RadioButton" + std::to_string(number), panel, RadioButton,
                          kModes[mode].caption, kModes[mode].left, 4, kModes[mode].width, 17,
                          mode == 0 ? kChecked : kEnabled, 0});
    }
  }
  return controls;
}

}  // namespace

const std::vector<Form1Control> &Form1Controls() {
  static const std::vector<Form1Control> controls = MakeControls();
  return controls;
}

const Form1Control &Form1ControlOf(Form1Item item) {
  return *std::ranges::find(Form1Controls(), item, &Form1Control::item);
}

}  // namespace relaytool
