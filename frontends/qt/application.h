#pragma once

#include <functional>

class QApplication;

namespace zelvo::qt {

class QtUi;

// Starts Zelvo on ui, runs the GUI loop until the program ends and returns
// its exit code. whenShown, if given, runs once the main window is showing.
int RunProgram(QApplication& app, QtUi& ui, const std::function<void()>& whenShown = {});

}  // namespace zelvo::qt
