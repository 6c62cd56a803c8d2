// GoogleTest's main for the Qt frontend's tests: one QApplication for the
// whole run, on the offscreen platform unless another one was asked for.
// A dialog that nobody answers fails the test instead of hanging it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <cstdlib>
#include <set>

#include "appearance.h"

namespace {

// Dialogs seen open at the last tick; still open at the next one (a second
// later) means they wait for an answer that will not come.
void WatchForForgottenDialogs(QApplication& app) {
    auto* timer = new QTimer(&app);
    auto* seen = new std::set<QDialog*>();
    QObject::connect(timer, &QTimer::timeout, [seen] {
        std::set<QDialog*> open;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            if (seen->count(dialog)) {
                ADD_FAILURE() << "dialog left unanswered: "
                              << dialog->windowTitle().toStdString();
                dialog->reject();
            } else {
                open.insert(dialog);
            }
        }
        *seen = std::move(open);
    });
    QObject::connect(&app, &QObject::destroyed, [seen] { delete seen; });
    timer->start(1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    zelvo::qt::ConfigureApplication(app);
    WatchForForgottenDialogs(app);
    return RUN_ALL_TESTS();
}
