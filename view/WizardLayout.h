#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "app/ControlTable.h"

// Where each control of the wizard sits, and its Win32 control ID; the
// control's kind, page and texts are its row in app/ControlTable.h. The
// window creates the controls in this order, which is also the keyboard
// order and the order in which screen readers pair a label with the
// control after it. Every control has exactly one place, or the build
// fails. The end-to-end driver finds controls by these IDs.
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
  app::ControlId control;
  int id;
  int x, y, width, height;
  Style style = Style::Plain;

  constexpr std::string_view Name() const { return app::RowOf(control).name; }
};

inline constexpr int kClientWidth = 553;
inline constexpr int kClientHeight = 318;
inline constexpr int kDropDownHeight = 200;

using app::ControlId;

inline constexpr ControlPlacement kWizardLayout[] = {
    {ControlId::Label5, 1000, 8, 10, 537, 22, Style::Title},
    {ControlId::RadioGroupWersja, 1010, 296, 44, 233, 96},
    {ControlId::RadioGroupSerwer, 1020, 24, 44, 249, 72},
    {ControlId::CheckBoxKopia, 1030, 32, 124, 233, 17},
    {ControlId::LabelConfigFile, 1040, 8, 196, 537, 40, Style::Banner},

    {ControlId::Label1, 1100, 24, 20, 300, 14},
    {ControlId::ComboBoxNazwaZrodla, 1110, 24, 36, 280, 21},
    {ControlId::Memo1, 1120, 24, 76, 505, 150},

    {ControlId::Label6, 1200, 24, 12, 300, 14},
    {ControlId::ComboBoxOracleHome, 1210, 24, 28, 280, 21},
    {ControlId::Label8, 1220, 24, 58, 300, 14},
    {ControlId::EditBoundle, 1230, 24, 74, 505, 21, Style::PageColoured},
    {ControlId::LabelNLS, 1240, 24, 100, 300, 14},
    {ControlId::EditNLS, 1250, 24, 116, 505, 21, Style::PageColoured},
    {ControlId::Label7, 1260, 24, 142, 300, 14},
    {ControlId::EditFolderHome, 1270, 24, 158, 505, 21, Style::PageColoured},
    {ControlId::Memo6, 1280, 24, 190, 505, 44, Style::PageColoured},

    {ControlId::Label2, 1300, 24, 20, 300, 14},
    {ControlId::ComboBoxServer, 1310, 24, 36, 280, 21},
    {ControlId::CheckBoxWindows, 1320, 24, 70, 320, 17},
    {ControlId::Memo2, 1330, 24, 100, 505, 90},
    {ControlId::CheckBoxDMO, 1340, 24, 196, 505, 32},

    {ControlId::Label9, 1400, 24, 12, 300, 14},
    {ControlId::ComboBoxOracleServer, 1410, 24, 28, 280, 21},
    {ControlId::Label10, 1420, 24, 60, 120, 14},
    {ControlId::DBEdit1, 1430, 24, 76, 120, 21},
    {ControlId::Label11, 1440, 160, 60, 220, 14},
    {ControlId::DBEdit2, 1450, 160, 76, 220, 21},
    {ControlId::Label12, 1460, 396, 60, 133, 14},
    {ControlId::DBEdit3, 1470, 396, 76, 133, 21},
    {ControlId::Label13, 1480, 24, 106, 220, 14},
    {ControlId::DBEdit4, 1490, 24, 122, 220, 21},
    {ControlId::Memo5, 1495, 24, 160, 505, 70},

    {ControlId::Label3, 1500, 24, 8, 240, 14},
    {ControlId::ComboBoxBaza, 1510, 24, 24, 240, 21},
    {ControlId::Label4, 1520, 289, 8, 240, 14},
    {ControlId::ComboBoxBazaLiczniki, 1530, 289, 24, 240, 21},
    {ControlId::LabelBazaArchiwum, 1540, 24, 52, 240, 14},
    {ControlId::ComboBoxBazaArchiwum, 1550, 24, 68, 240, 21},
    {ControlId::Memo3, 1560, 24, 100, 505, 140},

    {ControlId::GroupBox1, 1600, 24, 4, 505, 110},
    {ControlId::Label14, 1610, 40, 28, 120, 14},
    {ControlId::ComboBoxUserOchrona, 1620, 168, 24, 240, 21},
    {ControlId::Label15, 1630, 40, 56, 120, 14},
    {ControlId::ComboBoxUserLM, 1640, 168, 52, 240, 21},
    {ControlId::Label16, 1650, 40, 84, 120, 14},
    {ControlId::ComboBoxUserLiczniki, 1660, 168, 80, 240, 21},
    {ControlId::Memo4, 1670, 24, 122, 505, 118},

    {ControlId::ButtonWstecz, 1700, 296, 268, 75, 25},
    {ControlId::ButtonDalej, 1710, 374, 268, 75, 25},
    {ControlId::ButtonWykonaj, 1720, 462, 268, 75, 25},

    {ControlId::MemoStatus, 1800, 0, 0, 553, 253, Style::Report},
    {ControlId::ButtonSprawdz, 1820, 106, 276, 125, 25},
    {ControlId::Button1, 1810, 239, 276, 75, 25},
};

constexpr bool EveryControlPlacedOnce() {
  std::array<int, app::kControlCount> places{};
  for (const ControlPlacement& placement : kWizardLayout) ++places[app::IndexOf(placement.control)];
  for (int count : places) {
    if (count != 1) return false;
  }
  return true;
}
static_assert(EveryControlPlacedOnce(), "every control of app/ControlTable.h needs exactly one place here");

inline constexpr const ControlPlacement& PlacementOf(app::ControlId control) {
  for (const ControlPlacement& placement : kWizardLayout) {
    if (placement.control == control) return placement;
  }
  return kWizardLayout[0];  // never reached: every control has its place
}

inline constexpr const ControlPlacement* FindPlacement(std::string_view name) {
  for (const ControlPlacement& placement : kWizardLayout) {
    if (placement.Name() == name) return &placement;
  }
  return nullptr;
}

}  // namespace view
