#pragma once

#include <string_view>

// Where each control of the wizard sits, and its Win32 control ID. The
// window creates the controls in this order, which is also the keyboard
// order and the order in which screen readers pair a label with the
// control after it. The end-to-end driver finds controls by these IDs.
// Positions are pixels at 96 DPI inside the 553 x 318 client area; the
// wizard pages fill the top 245 pixels with the button row under them.
// A radio group's items take the IDs after the group's own.
namespace view {

enum class Style {
  Plain,
  Title,        // bold, 12 points, maroon, centred
  Banner,       // centred, word-wrapped, olive background
  PageColoured,  // read-only text drawn in the page colour
  Report         // a text that may outgrow its box: it scrolls
};

struct ControlPlacement {
  int id;
  std::string_view name;
  std::string_view page;
  int x, y, width, height;
  Style style = Style::Plain;
};

inline constexpr int kClientWidth = 553;
inline constexpr int kClientHeight = 318;
inline constexpr int kDropDownHeight = 200;

inline constexpr ControlPlacement kWizardLayout[] = {
    {1000, "Label5", "TabSheet0", 8, 10, 537, 22, Style::Title},
    {1010, "RadioGroupWersja", "TabSheet0", 296, 44, 233, 96},
    {1020, "RadioGroupSerwer", "TabSheet0", 24, 44, 249, 72},
    {1030, "CheckBoxKopia", "TabSheet0", 32, 124, 233, 17},
    {1040, "LabelConfigFile", "TabSheet0", 8, 196, 537, 40, Style::Banner},

    {1100, "Label1", "TabSheet1", 24, 20, 300, 14},
    {1110, "ComboBoxNazwaZrodla", "TabSheet1", 24, 36, 280, 21},
    {1120, "Memo1", "TabSheet1", 24, 76, 505, 150},

    {1200, "Label6", "TabSheet1Oracle", 24, 12, 300, 14},
    {1210, "ComboBoxOracleHome", "TabSheet1Oracle", 24, 28, 280, 21},
    {1220, "Label8", "TabSheet1Oracle", 24, 58, 300, 14},
    {1230, "EditBoundle", "TabSheet1Oracle", 24, 74, 505, 21, Style::PageColoured},
    {1240, "LabelNLS", "TabSheet1Oracle", 24, 100, 300, 14},
    {1250, "EditNLS", "TabSheet1Oracle", 24, 116, 505, 21, Style::PageColoured},
    {1260, "Label7", "TabSheet1Oracle", 24, 142, 300, 14},
    {1270, "EditFolderHome", "TabSheet1Oracle", 24, 158, 505, 21, Style::PageColoured},
    {1280, "Memo6", "TabSheet1Oracle", 24, 190, 505, 44, Style::PageColoured},

    {1300, "Label2", "TabSheet2", 24, 20, 300, 14},
    {1310, "ComboBoxServer", "TabSheet2", 24, 36, 280, 21},
    {1320, "CheckBoxWindows", "TabSheet2", 24, 70, 320, 17},
    {1330, "Memo2", "TabSheet2", 24, 100, 505, 90},
    {1340, "CheckBoxDMO", "TabSheet2", 24, 196, 505, 32},

    {1400, "Label9", "TabSheet2Oracle", 24, 12, 300, 14},
    {1410, "ComboBoxOracleServer", "TabSheet2Oracle", 24, 28, 280, 21},
    {1420, "Label10", "TabSheet2Oracle", 24, 60, 120, 14},
    {1430, "DBEdit1", "TabSheet2Oracle", 24, 76, 120, 21},
    {1440, "Label11", "TabSheet2Oracle", 160, 60, 220, 14},
    {1450, "DBEdit2", "TabSheet2Oracle", 160, 76, 220, 21},
    {1460, "Label12", "TabSheet2Oracle", 396, 60, 133, 14},
    {1470, "DBEdit3", "TabSheet2Oracle", 396, 76, 133, 21},
    {1480, "Label13", "TabSheet2Oracle", 24, 106, 220, 14},
    {1490, "DBEdit4", "TabSheet2Oracle", 24, 122, 220, 21},
    {1495, "Memo5", "TabSheet2Oracle", 24, 160, 505, 70},

    {1500, "Label3", "TabSheet3", 24, 8, 240, 14},
    {1510, "ComboBoxBaza", "TabSheet3", 24, 24, 240, 21},
    {1520, "Label4", "TabSheet3", 289, 8, 240, 14},
    {1530, "ComboBoxBazaLiczniki", "TabSheet3", 289, 24, 240, 21},
    {1540, "LabelBazaArchiwum", "TabSheet3", 24, 52, 240, 14},
    {1550, "ComboBoxBazaArchiwum", "TabSheet3", 24, 68, 240, 21},
    {1560, "Memo3", "TabSheet3", 24, 100, 505, 140},

    {1600, "GroupBox1", "TabSheet3Oracle", 24, 4, 505, 110},
    {1610, "Label14", "TabSheet3Oracle", 40, 28, 120, 14},
    {1620, "ComboBoxUserOchrona", "TabSheet3Oracle", 168, 24, 240, 21},
    {1630, "Label15", "TabSheet3Oracle", 40, 56, 120, 14},
    {1640, "ComboBoxUserLM", "TabSheet3Oracle", 168, 52, 240, 21},
    {1650, "Label16", "TabSheet3Oracle", 40, 84, 120, 14},
    {1660, "ComboBoxUserLiczniki", "TabSheet3Oracle", 168, 80, 240, 21},
    {1670, "Memo4", "TabSheet3Oracle", 24, 122, 505, 118},

    {1700, "ButtonWstecz", "TabSheet4", 296, 268, 75, 25},
    {1710, "ButtonDalej", "TabSheet4", 374, 268, 75, 25},
    {1720, "ButtonWykonaj", "TabSheet4", 462, 268, 75, 25},

    {1800, "MemoStatus", "TabSheet5", 0, 0, 553, 253, Style::Report},
    {1810, "Button1", "TabSheet5", 239, 276, 75, 25},
};

inline constexpr const ControlPlacement* FindPlacement(std::string_view name) {
  for (const ControlPlacement& placement : kWizardLayout) {
    if (placement.name == name) return &placement;
  }
  return nullptr;
}

}  // namespace view
