#include "appearance.h"

#include <QApplication>
#include <QStyleFactory>

#include "window_builder.h"

namespace zelvo::qt {

void ConfigureApplication(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setFont(GuiFont());
    app.setQuitOnLastWindowClosed(false);
}

}  // namespace zelvo::qt
