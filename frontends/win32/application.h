#pragma once

#include <functional>
#include <string>

namespace zelvo::win32 {

class Win32Ui;

// Starts Zelvo on ui in the program's folder, runs the message loop until
// the program ends and returns its exit code. whenShown, if given, runs once
// the main window is showing. ruleSource, if given, is the rule source named
// on the command line.
int RunProgram(Win32Ui& ui, const std::function<void()>& whenShown = {},
               std::string ruleSource = {});

}  // namespace zelvo::win32
