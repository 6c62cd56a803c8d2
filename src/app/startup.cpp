#include "app/startup.h"

#include <unistd.h>

#include <utility>

#include "app/event_router.h"

namespace zelvo {

namespace {

// Releases a value's memory too, not only its contents.
template <typename T>
void release(T& value) {
    T().swap(value);
}

}  // namespace

Program::Program(UiPort& ui, StartOptions options) : ui_(ui) {
    // 1. The runtime: the current directory is the program's folder.
    if (!options.programFolder.empty()) {
        // A folder that cannot be entered leaves the directory the process
        // was started in; nothing depends on more than a usable directory.
        (void)chdir(options.programFolder.c_str());
    }
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
