#include "qt_test_program.h"

#include <QTest>
#include <QWindow>

#include "text_printer.h"

namespace zelvo::testing {

void ClickThroughWindowSystem(qt::QtUi& ui, WindowId window, std::string_view name) {
    QWidget* top = ui.Window(window);
    QWidget* control = ControlWidget(ui, window, name);
    ASSERT_NE(control, nullptr) << GbkToUtf8ForDisplay(name);
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(top, control->rect().center()));
}

void DeleteClosedWindows() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QtProgramTest::QtProgramTest() {
    StartOptions options;
    options.onExit = [this](int code) { exitCodes_.push_back(code); };
    program_ = startProgram(ui_, std::move(options));
}

QtProgramTest::~QtProgramTest() {
    program_.reset();
    DeleteClosedWindows();
}

}  // namespace zelvo::testing
