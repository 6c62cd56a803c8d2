#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "controls.h"
#include "list_model.h"

// Builds the widgets of one window from its description.
namespace zelvo::qt {

struct BuiltControl {
    const ControlDesc* desc = nullptr;
    QWidget* widget = nullptr;
    ListModel* model = nullptr;  // list views
    std::string address;         // web views: the address they show
};

struct BuiltWindow {
    const WindowDesc* desc = nullptr;
    FormWindow* widget = nullptr;
    std::map<std::string, BuiltControl, std::less<>> controls;  // by GBK name

    BuiltControl* Find(std::string_view name);
};

// The outer size of a description includes a fixed frame of 3 pixels on each
// side and a 22-pixel caption; the widget gets the client area that is left.
inline constexpr int kFrameWidth = 6;
inline constexpr int kFrameHeight = 28;

// control: empty for window events.
using EventSink = std::function<void(std::string_view control, EventKind kind, int arg)>;

// The widgets exist, hidden, when this returns; control events are connected
// to sink only where the description binds them.
std::unique_ptr<BuiltWindow> BuildWindow(const WindowDesc& desc, const EventSink& sink);

// The system's default GUI font: 9 point (12 pixels) with a Chinese face.
QFont GuiFont();
QFont FontOf(const FontDesc& font);

}  // namespace zelvo::qt
