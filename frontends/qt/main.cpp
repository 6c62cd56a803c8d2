#include <QApplication>

#include "appearance.h"
#include "application.h"
#include "qt_ui.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zelvo::qt::ConfigureApplication(app);
    zelvo::qt::QtUi ui;
    return zelvo::qt::RunProgram(app, ui);
}
