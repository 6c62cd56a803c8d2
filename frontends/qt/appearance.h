#pragma once

class QApplication;

namespace zelvo::qt {

// The look every window of the program shares: one style on every desktop
// and the Chinese GUI font for dialogs and message boxes too. The program
// ends when its main window goes, not when the last window of the moment
// (say a message box) closes.
void ConfigureApplication(QApplication& app);

}  // namespace zelvo::qt
