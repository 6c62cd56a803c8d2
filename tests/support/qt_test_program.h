#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <string_view>
#include <vector>

#include "app/startup.h"
#include "gbk.h"
#include "qt_ui.h"

// What the tests on real Qt widgets share: spinning the GUI loop, finding a
// window's control, a click as the window system delivers it, and the whole
// program started on the Qt port.
namespace zelvo::testing {

// Spins the GUI loop until done() holds (a worker finished, a window showed
// up); false once limitMs have passed without it.
template <class Done>
bool SpinUntil(Done done, int limitMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The widget of the control `name` (GBK) of an open window; null when the
// window is not open or has no such control of that class.
template <class T = QWidget>
T* ControlWidget(qt::QtUi& ui, WindowId window, std::string_view name) {
    QWidget* top = ui.Window(window);
    return top ? top->findChild<T*>(qt::FromGbk(name)) : nullptr;
}

// A click on the centre of a control, delivered to its window as the window
// system delivers it, so that modality applies.
void ClickThroughWindowSystem(qt::QtUi& ui, WindowId window, std::string_view name);

// Lets Qt delete the windows closed so far, so that they go inside the test
// that closed them.
void DeleteClosedWindows();

// The whole program started on the Qt port, its main window open; the exit
// codes it hands the frontend are kept. The exit clean-up runs at the end.
class QtProgramTest : public ::testing::Test {
  protected:
    QtProgramTest();
    ~QtProgramTest() override;

    template <class T = QWidget>
    T* Widget(WindowId window, std::string_view name) {
        return ControlWidget<T>(ui_, window, name);
    }
    void Click(WindowId window, std::string_view name) {
        ClickThroughWindowSystem(ui_, window, name);
    }

    qt::QtUi ui_;
    std::unique_ptr<Program> program_;
    std::vector<int> exitCodes_;
};

}  // namespace zelvo::testing
