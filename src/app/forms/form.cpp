#include "app/forms/form.h"

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

}  // namespace zelvo
