#include "app/event_router.h"

#include <optional>

#include "app/main_window_handlers.h"
#include "app/result_sort.h"
#include "generation/generation_run.h"
#include "generation/recent_numbers.h"
#include "results/filter_window.h"
#include "results/result_list.h"
#include "results/result_saving.h"
#include "rules/reference_templates_window.h"

namespace zelvo {

namespace {

// The plain verification fields follow the current run once one has started.
void takeVerificationState(ProgramState& state) {
    if (!state.verification.started()) return;
    state.runNumbers = state.verification.runNumbers();
    state.blankNumbers = state.verification.blankNumbers();
    state.stopRequested = state.verification.stopRequested();
}

void startVerification(ProgramState& state, UiPort& ui) {
    state.verification.startVerification(ui, state.workPool, state.queryUrlPrefix);
    takeVerificationState(state);
}

}  // namespace

void routeEvent(ProgramState& state, UiPort& ui, const UiEvent& event) {
    // Windows still open while the process ends must not reach released state.
    if (state.exitCode >= 0) return;
    const std::optional<Action> action = BoundAction(event);
    if (!action) return;
    switch (*action) {
        // main window
        case Action::MainCreated:
            onMainCreated(ui);
            break;
        case Action::EndProgram:
            onMainAboutToBeDestroyed(state);
            break;
        case Action::GenerateNumbers:
            generateNumbers(ui, state.templateParts, state.runningTime);
            break;
        case Action::ClearGenerated:
            clearGenerated(ui);
            break;
        case Action::OpenReferenceTemplates:
            openReferenceTemplates(ui);
            break;
        case Action::OpenRecentNumbers:
            openRecentNumbers(ui);
            break;
        // Handlers that move or remove result rows wait until no worker of a
        // running verification is half-way through writing a row.
        case Action::ClearResultList:
            state.verification.withoutWorkerUpdates(ui, [&ui] { clearResultList(ui); });
            break;
        case Action::OpenFilter:
            openFilter(ui);
            break;
        case Action::ExportResultList:
            exportResultList(ui);
            break;
        case Action::ImportResultList:
            state.verification.withoutWorkerUpdates(ui, [&ui] { importResultList(ui); });
            break;
        case Action::StartVerification:
            startVerification(state, ui);
            break;
        case Action::StopVerification:
            state.verification.requestStop(ui, state.workPool);
            takeVerificationState(state);
            break;
        case Action::SaveBlankNumbers:
            takeVerificationState(state);
            saveBlankNumbers(ui, state.blankNumbers);
            break;
        case Action::SortResultList:
            state.verification.withoutWorkerUpdates(ui, [&] {
                onResultHeaderClicked(ui, state.sortAscending, event.arg);
            });
            break;
        // filter window
        case Action::FilterCreated:
            initFilterDates(ui);
            break;
        case Action::FilterAndSave:
            state.verification.withoutWorkerUpdates(
                ui, [&] { filterResults(ui, state.inUserFolder); });
            break;
        // recent-number window
        case Action::RecentCreated:
            requireCourier(ui);
            break;
        case Action::GenerateFromRecent:
            generateFromRecentNumber(ui, [&state, &ui] { startVerification(state, ui); });
            break;
        case Action::ShowWebsite:
            onTabChanged(ui, event.arg);
            break;
        // reference-template window
        case Action::TemplatesCreated:
            templatesCreated(ui, state.ruleService, state.ruleText);
            break;
        case Action::TemplatesFirstActivated:
            fillCourierList(ui);
            break;
        case Action::PickCourier:
            pickCourier(ui, state.ruleText, state.queryUrlPrefix);
            break;
        default:
            // Operations whose handlers are not part of the program yet.
            break;
    }
}

}  // namespace zelvo
