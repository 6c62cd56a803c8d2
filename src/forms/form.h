#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "runtime/ui.h"

// Windows are data: each window's description is a constant that a frontend
// (or the in-memory port of the tests) builds its controls from, every time
// the window is opened. Texts are GBK.
namespace zelvo {

enum class ControlKind {
    EditBox,
    Label,
    Button,
    CheckBox,
    RadioButton,
    GroupBox,
    ProgressBar,
    DatePicker,
    ListView,
    TabControl,
    WebView,
    PictureButton,
};

// The operation an event starts; the application shell routes each one.
enum class Action {
    // main window
    MainCreated,
    EndProgram,
    GenerateNumbers,
    ClearGenerated,
    OpenReferenceTemplates,
    OpenRecentNumbers,
    StartVerification,
    StopVerification,
    ClearResultList,
    OpenFilter,
    ExportResultList,
    ImportResultList,
    SaveBlankNumbers,
    SortResultList,
    ShowWebsite,
    // filter window
    FilterCreated,
    FilterAndSave,
    // reference-template window
    TemplatesCreated,
    TemplatesFirstActivated,
    PickCourier,
    // recent-number window
    RecentCreated,
    GenerateFromRecent,
};

struct EventBinding {
    EventKind kind;
    Action action;
};

struct ColumnDesc {
    std::string_view title;
    int width;
};

struct FontDesc {
    std::string_view family;
    int height;   // negative: character height in pixels
    int weight;   // 400 normal
    int charset;  // 134 GB2312
};

struct ControlDesc {
    std::string_view name{};
    ControlKind kind;
    // Empty for the window; otherwise a group box or the tab control, with
    // parentPage naming the tab page (0-based).
    std::string_view parent{};
    int parentPage = -1;
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    bool enabled = true;
    bool canFocus = true;
    // Caption (labels, buttons, boxes) or default content (edit boxes, web views).
    std::string_view text{};
    bool multiLine = false;
    bool verticalScroll = false;
    bool readOnly = false;
    bool border = true;       // edit boxes: sunken border unless false
    bool thinBorder = false;  // edit boxes: a single-line border instead of the sunken one
    bool checked = false;
    std::vector<ColumnDesc> columns{};      // list views
    std::vector<std::string_view> pages{};  // tab control page titles
    const FontDesc* font = nullptr;         // nullptr: the system's GUI font
    std::vector<EventBinding> events{};
};

struct WindowDesc {
    WindowId id;
    std::string_view caption{};
    int width = 0, height = 0;  // outer size in pixels at 96 dpi
    bool minimizeBox = false;
    bool maximizeBox = false;  // every window has a fixed border and a close box
    bool hasIcon = false;
    std::vector<ControlDesc> controls{};  // creation order
    std::vector<EventBinding> events{};
};

const WindowDesc& FormOf(WindowId window);
// The four descriptions that FormOf chooses from, one file each.
const WindowDesc& MainWindowForm();
const WindowDesc& FilterWindowForm();
const WindowDesc& ReferenceTemplatesForm();
const WindowDesc& RecentNumbersForm();

// nullptr when the window has no such control.
const ControlDesc* FindControl(const WindowDesc& form, std::string_view name);

// The operation the description binds to the event (the first binding of its
// kind); none when unbound or when the window has no such control.
std::optional<Action> BoundAction(const UiEvent& event);

}  // namespace zelvo
