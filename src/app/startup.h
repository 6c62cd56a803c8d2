#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/program_state.h"
#include "runtime/ui.h"

// Start-up and exit. A frontend's main() builds its UI port, calls
// startProgram and runs its message loop until onExit is called:
//
//     auto program = zelvo::startProgram(ui, {.onExit = [](int code) { quit(code); }});
//     return loop();
//
// The exit clean-up runs once: when the program ends through endProgram (the
// main window closing), or else when the Program is destroyed.
namespace zelvo {

struct StartOptions {
    // Told the exit code when the program ends; the frontend leaves its loop.
    std::function<void(int exitCode)> onExit;
    // The folder of the program file and the user's own folder for the
    // program (GBK; ProgramFolder() and UserFolder() in a real start). The
    // current directory, where the filter window saves its file, becomes the
    // program folder when files can be created there, else the user folder,
    // created when missing; with neither the directory the process was
    // started in stays.
    std::string programFolder;
    std::string userFolder;
    // The rule source named on the command line (GBK: an http or https
    // address, or an absolute file path); empty keeps the build setting.
    std::string ruleSource;
};

class Program {
  public:
    // Start-up steps 1 to 3: the runtime, the program-wide state, the exit
    // hook. No window is open yet.
    Program(UiPort& ui, StartOptions options);
    // Runs the exit clean-up if it has not run yet.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Step 4: routes the windows' events to the handlers and opens the main
    // window; its created event has run when this returns.
    void showMainWindow();

    ProgramState& state() { return state_; }
    UiPort& ui() { return ui_; }

  private:
    UiPort& ui_;
    ProgramState state_;
};

// The whole start-up, in order; the main window is open on return.
std::unique_ptr<Program> startProgram(UiPort& ui, StartOptions options = {});

// Ends the program: runs the exit clean-up, then hands the exit code to the
// frontend. Only the first call counts.
void endProgram(ProgramState& state, int exitCode);

// Releases the program-wide state: the WorkPool (stopped, its workers gone),
// then the texts and arrays, then the rule-service client. Runs once; later
// calls do nothing.
void runExitCleanup(ProgramState& state);

}  // namespace zelvo
