#pragma once

#include <functional>
#include <string>

class QApplication;

namespace zelvo::qt {

class QtUi;

// The whole of zelvo's main(): reads the command line first; --help,
// --version and mistakes are printed (as UTF-8) and end the process before
// Qt starts. Otherwise starts Zelvo with the rule source named there and runs
// it to its end, returning its exit code. whenShown, if given, runs once the
// main window is showing.
int RunZelvo(int argc, char** argv, const std::function<void(QtUi&)>& whenShown = {});

// Starts Zelvo on ui, runs the GUI loop until the program ends and returns
// its exit code. whenShown, if given, runs once the main window is showing.
// ruleSource (GBK) replaces the build setting's rule source when not empty.
int RunProgram(QApplication& app, QtUi& ui, const std::function<void()>& whenShown = {},
               std::string ruleSource = {});

}  // namespace zelvo::qt
