#include "application.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/startup.h"
#include "appearance.h"
#include "qt_ui.h"
#include "runtime/gbk_utf8.h"
#include "runtime/working_folder.h"

namespace zelvo::qt {

namespace {

// The terminal reads UTF-8.
void Print(std::FILE* stream, const std::string& gbk) {
    if (gbk.empty()) return;
    const std::string shown = GbkToUtf8(gbk).value_or(gbk);
    std::fwrite(shown.data(), 1, shown.size(), stream);
    std::fflush(stream);
}

}  // namespace

int RunZelvo(int argc, char** argv, const std::function<void(QtUi&)>& whenShown) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    CommandLine command = parseCommandLine(arguments);
    if (command.action == CommandLine::Action::Exit) {
        Print(stdout, command.standardOutput);
        Print(stderr, command.standardError);
        return command.exitCode;
    }
    // Every argument has been taken as the program's own: Qt gets none of
    // them to interpret.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    ConfigureApplication(app);
    QtUi ui;
    std::function<void()> shown;
    if (whenShown) shown = [&] { whenShown(ui); };
    return RunProgram(app, ui, shown, std::move(command.ruleSource));
}

int RunProgram(QApplication& app, QtUi& ui, const std::function<void()>& whenShown,
               std::string ruleSource) {
    StartOptions options;
    options.onExit = [](int exitCode) { QCoreApplication::exit(exitCode); };
    options.programFolder = ProgramFolder();
    options.userFolder = UserFolder();
    options.ruleSource = std::move(ruleSource);
    std::unique_ptr<Program> program = startProgram(ui, std::move(options));
    if (whenShown) QTimer::singleShot(0, &app, whenShown);
    const int exitCode = app.exec();
    program.reset();
    return exitCode;
}

}  // namespace zelvo::qt
