// GoogleTest's main for the Qt frontend's tests: one QApplication for the
// whole run, on the offscreen platform unless another one was asked for.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "appearance.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    zelvo::qt::ConfigureApplication(app);
    return RUN_ALL_TESTS();
}
