// The main window TForm1 as both toolkits build it: every control with its
// kind, parent, caption or start text, place, typing limit and start state,
// and the pages with their tab captions and icons. Places are in design
// pixels (96 DPI), relative to the parent; a control in GroupBox2 is placed
// relative to the group.
#pragma once

#include "WindowLogic.h"

#include <string>
#include <vector>

namespace relaytool {

// The window's client area.
inline constexpr int kForm1Width = 346;
inline constexpr int kForm1Height = 385;

// Every control of TForm1: the handlers' controls first, in the order of
// Control, then the others.
enum class Form1Item {
  Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7,
  lblVersion, CheckBox1, CheckBox3, BitBtn1, BitBtn2,
  RadioButton1, RadioButton24 = RadioButton1 + 23,
  PageControl1, BitBtn3, TabSheet1, TabSheet4, TabSheet2, TabSheet3,
  Panel1, Panel8 = Panel1 + 7,
  GroupBox2, Label1, Label2, Label3, Label4, Label5, Label9, Label10, Label11,
  Label12, Label19 = Label12 + 7,
  Count,
  Form = Count,  // the window itself, as a parent
};

static_assert(static_cast<int>(Form1Item::RadioButton24) == static_cast<int>(Control::RadioButton24),
              "Form1Item starts with the handlers' controls, in their order");

// `first`'s `offset`-th successor, as Panel1 + 2.
constexpr Form1Item Nth(Form1Item first, int offset) {
  return static_cast<Form1Item>(static_cast<int>(first) + offset);
}

enum class ControlKind { Page, TabControl, Label, Edit, CheckBox, RadioButton, Button, GroupBox, Panel };

// How a control starts.
enum ControlState : unsigned {
  kEnabled = 0,
  kDisabled = 1,
  kReadOnly = 2,  // an edit that shows but takes no typing
  kChecked = 4,
  kWordWrap = 8,  // a label whose text wraps within its box
};

struct Form1Control {
  Form1Item item;
  std::string name;  // the control's name, as "Edit1"
  Form1Item parent;
  ControlKind kind;
  std::string text;  // caption, or an edit's start text
  int left, top, width, height;
  unsigned state;
  int limit;  // the most characters typing gives an edit; 0 for none
};

// The controls in creation order, which is the Windows window's z-order and so
// its tab order within a parent: the pages first, then the buttons and the tab
// strip, then each page's controls. The pages have no place of their own:
// they fill the tab strip's display area.
const std::vector<Form1Control> &Form1Controls();

// The control `item`.
const Form1Control &Form1ControlOf(Form1Item item);

struct Form1Page {
  Page page;
  Form1Item sheet;
  const char *caption;
  int icon;  // index in kTabIcons
};

// The pages in page order: the page index is the position here.
inline constexpr Form1Page kForm1Pages[] = {
    {Page::TabSheet1, Form1Item::TabSheet1, "Network", 0},
    {Page::TabSheet4, Form1Item::TabSheet4, "Remote Control", 3},
    {Page::TabSheet2, Form1Item::TabSheet2, "Key Press", 1},
    {Page::TabSheet3, Form1Item::TabSheet3, "Others", 2},
};

// The tab icons in ImageList1's order, by their artwork's name (relaytool/icons).
inline constexpr const char *kTabIcons[] = {"network", "keypress", "others", "remote"};

}  // namespace relaytool
