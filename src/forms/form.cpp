#include "forms/form.h"

namespace zelvo {

const WindowDesc& FormOf(WindowId window) {
    switch (window) {
        case WindowId::Main:
            return MainWindowForm();
        case WindowId::Filter:
            return FilterWindowForm();
        case WindowId::ReferenceTemplates:
            return ReferenceTemplatesForm();
        case WindowId::RecentNumbers:
            return RecentNumbersForm();
    }
    return MainWindowForm();
}

const ControlDesc* FindControl(const WindowDesc& form, std::string_view name) {
    for (const ControlDesc& control : form.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

std::optional<Action> BoundAction(const UiEvent& event) {
    const WindowDesc& form = FormOf(event.window);
    const std::vector<EventBinding>* events = &form.events;
    if (!event.control.empty()) {
        const ControlDesc* control = FindControl(form, event.control);
        if (control == nullptr) return std::nullopt;
        events = &control->events;
    }
    for (const EventBinding& binding : *events) {
        if (binding.kind == event.kind) return binding.action;
    }
    return std::nullopt;
}

}  // namespace zelvo
