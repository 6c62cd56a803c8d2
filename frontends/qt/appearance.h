#pragma once

class QApplication;

namespace zelvo::qt {

// The look every window of the program shares: one style on every desktop
// and the Chinese GUI font for dialogs and message boxes too. Qt's own texts
// (the folder browser, the edit boxes' context menu, standard buttons) are in
// Chinese whatever the user's locale, like the rest of the program. The
// program ends when its main window goes, not when the last window of the
// moment (say a message box) closes.
void ConfigureApplication(QApplication& app);

// Installs Qt's Chinese translations (qtbase_zh_CN from Qt's translations
// folder); false when they are not installed, and Qt's texts stay English.
bool InstallChineseTranslations(QApplication& app);

}  // namespace zelvo::qt
