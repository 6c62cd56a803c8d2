#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "appearance.h"
#include "application.h"
#include "qt_ui.h"

// Starts the program as zelvo does, saves a picture of the main window to
// the PNG file named on the command line, then closes the main window the
// way a user would. The exit code is the program's.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <picture.png>\n", argv[0]);
        return 2;
    }
    const QString target = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    zelvo::qt::ConfigureApplication(app);
    zelvo::qt::QtUi ui;
    bool saved = false;
    const int exitCode = zelvo::qt::RunProgram(app, ui, [&] {
        // Give the window time to be laid out and painted before the grab.
        QTimer::singleShot(300, &app, [&] {
            if (QWidget* window = ui.Window(zelvo::WindowId::Main)) {
                QDir().mkpath(QFileInfo(target).absolutePath());
                saved = window->grab().save(target, "PNG");
                window->close();
            } else {
                QCoreApplication::exit(3);
            }
        });
    });
    if (!saved) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(target));
        return exitCode != 0 ? exitCode : 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(target)));
    return exitCode;
}
