#pragma once

namespace app {
class WizardWindow;
}

namespace platform::win32 {
class Win32UiServices;
}

namespace view {

// Creates the real window for the wizard model, shows it, and runs the
// message loop until the window closes. Returns the program's exit code.
int RunWizardWindow(app::WizardWindow& model, platform::win32::Win32UiServices& ui);

}  // namespace view
