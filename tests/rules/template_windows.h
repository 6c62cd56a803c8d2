#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "generation/generation_run.h"
#include "rules/reference_templates_window.h"
#include "rules/rule_service_client.h"
#include "runtime/datetime.h"
#include "runtime/ui.h"

// The main window and the reference-template window wired as the program
// wires them, on any port, without the rest of the program.
namespace zelvo::testing {

// What the two windows' handlers keep between events (the program keeps it
// in its ProgramState).
struct TemplateWindowsState {
    explicit TemplateWindowsState(std::string ruleSource,
                                  int replyLimitMs = RuleServiceClient::kReplyLimitMs)
        : client(std::move(ruleSource), {}, replyLimitMs) {}

    RuleServiceClient client;
    std::string ruleText;
    std::string queryUrlPrefix;
    std::vector<std::string> templateParts;
    DateTime runningTime;
};

// Runs the handler the event's window description binds to it, as the
// program's router does; after the template window's created handler,
// afterCreated when given.
inline void RouteTemplateWindows(UiPort& ui, TemplateWindowsState& state, const UiEvent& event,
                                 const std::function<void()>& afterCreated = {}) {
    const std::optional<Action> action = BoundAction(event);
    if (!action) return;
    switch (*action) {
        case Action::OpenReferenceTemplates:
            ui.LoadWindow(WindowId::ReferenceTemplates, false);
            break;
        case Action::TemplatesCreated:
            templatesCreated(ui, state.client, state.ruleText);
            if (afterCreated) afterCreated();
            break;
        case Action::TemplatesFirstActivated:
            fillCourierList(ui);
            break;
        case Action::PickCourier:
            pickCourier(ui, state.ruleText, state.queryUrlPrefix);
            break;
        case Action::GenerateNumbers:
            generateNumbers(ui, state.templateParts, state.runningTime);
            break;
        default:
            break;
    }
}

}  // namespace zelvo::testing
