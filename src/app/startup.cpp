#include "app/startup.h"

#include <utility>

#include "app/event_router.h"
#include "runtime/working_folder.h"

namespace zelvo {

namespace {

// Releases a value's memory too, not only its contents.
template <typename T>
void release(T& value) {
    T().swap(value);
}

// Enters the folder the program writes its own files in; true when that is
// the user's folder. Installed where the user may not write (/usr/bin,
// C:\Program Files), the program would otherwise fail every filter save.
bool enterWorkingFolder(const std::string& programFolder, const std::string& userFolder) {
    if (!programFolder.empty() && CanCreateFilesIn(programFolder) && EnterFolder(programFolder)) {
        return false;
    }
    // Neither folder usable leaves the directory the process was started in;
    // nothing depends on more than a usable directory.
    return !userFolder.empty() && MakeFolders(userFolder) && EnterFolder(userFolder);
}

}  // namespace

Program::Program(UiPort& ui, StartOptions options) : ui_(ui) {
    // 1. The runtime: the current directory is the program's folder where
    // it may write, else the user's folder for it.
    state_.inUserFolder = enterWorkingFolder(options.programFolder, options.userFolder);
    // 2. The program-wide state: empty texts and arrays, sortAscending false.
    // (the WorkPool and the rule-service client are built with the state)
    if (!options.ruleSource.empty()) state_.ruleService.setSource(std::move(options.ruleSource));
    // 3. The exit hook: endProgram and the destructor run the clean-up.
    state_.onExit = std::move(options.onExit);
}

Program::~Program() {
    ui_.SetEventHandler({});
    runExitCleanup(state_);
}

void Program::showMainWindow() {
    ui_.SetEventHandler([this](const UiEvent& event) { routeEvent(state_, ui_, event); });
    ui_.LoadWindow(WindowId::Main, false);
}

std::unique_ptr<Program> startProgram(UiPort& ui, StartOptions options) {
    auto program = std::make_unique<Program>(ui, std::move(options));
    program->showMainWindow();
    return program;
}

void endProgram(ProgramState& state, int exitCode) {
    if (state.exitCode >= 0) return;
    state.exitCode = exitCode;
    runExitCleanup(state);
    if (state.onExit) state.onExit(exitCode);
}

void runExitCleanup(ProgramState& state) {
    if (state.cleanedUp) return;
    state.cleanedUp = true;
    // The verification run and the WorkPool go first: the current run is
    // retired so that workers still fetching change no window any more, and
    // the pool is stopped (its destructor, at the very end, waits briefly for
    // the workers). The runs keep their own numbers, so releasing the texts
    // below pulls nothing away from a worker.
    state.verification.retireForExit();
    state.workPool.stop();

    // Every program-wide text and array.
    release(state.templateParts);
    release(state.ruleText);
    release(state.queryUrlPrefix);
    release(state.runNumbers);
    release(state.blankNumbers);
    state.runLock.reset();

    // The rule-service client: closed, then released with the state.
    state.ruleService.close();
}

}  // namespace zelvo
