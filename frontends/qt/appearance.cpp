#include "appearance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include "window_builder.h"

namespace zelvo::qt {

bool InstallChineseTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void ConfigureApplication(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setFont(GuiFont());
    app.setQuitOnLastWindowClosed(false);
    // Without them Qt's dialogs would be the only English in the program;
    // nothing else depends on them.
    InstallChineseTranslations(app);
}

}  // namespace zelvo::qt
