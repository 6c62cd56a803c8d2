#include "application.h"

#include <QApplication>
#include <QTimer>

#include "app/startup.h"
#include "qt_ui.h"

namespace zelvo::qt {

int RunProgram(QApplication& app, QtUi& ui, const std::function<void()>& whenShown) {
    StartOptions options;
    options.onExit = [](int exitCode) { QCoreApplication::exit(exitCode); };
    options.programFolder = QCoreApplication::applicationDirPath().toStdString();
    std::unique_ptr<Program> program = startProgram(ui, std::move(options));
    if (whenShown) QTimer::singleShot(0, &app, whenShown);
    const int exitCode = app.exec();
    program.reset();
    return exitCode;
}

}  // namespace zelvo::qt
