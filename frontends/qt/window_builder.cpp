#include "window_builder.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "artwork.h"
#include "gbk.h"
#include "tab_control.h"

namespace zelvo::qt {

namespace {

// Where a Chinese Windows would find its 宋体; then what Linux desktops have.
const QStringList kChineseFaces = {"SimSun",
                                   "NSimSun",
                                   "WenQuanYi Micro Hei",
                                   "Noto Sans CJK SC",
                                   "Source Han Sans SC",
                                   "Droid Sans Fallback",
                                   "Sans Serif"};

bool Binds(const std::vector<EventBinding>& events, EventKind kind) {
    for (const EventBinding& binding : events) {
        if (binding.kind == kind) return true;
    }
    return false;
}

// Read-only edit boxes show the window colour behind their text.
void ShowAsReadOnly(QWidget* edit) {
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
}

QWidget* MakeEdit(const ControlDesc& d, QWidget* parent) {
    if (d.multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        QString text = FromGbk(d.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        edit->setPlainText(text);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(d.verticalScroll ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        edit->setReadOnly(d.readOnly);
        if (!d.border) {
            edit->setFrameShape(QFrame::NoFrame);
        } else if (d.thinBorder) {
            edit->setFrameShape(QFrame::Box);
            edit->setFrameShadow(QFrame::Plain);
            edit->setLineWidth(1);
        }
        if (d.readOnly) ShowAsReadOnly(edit);
        return edit;
    }
    auto* edit = new QLineEdit(FromGbk(d.text), parent);
    edit->setReadOnly(d.readOnly);
    edit->setFrame(d.border);
    edit->setCursorPosition(0);
    if (d.readOnly) ShowAsReadOnly(edit);
    return edit;
}

QWidget* MakeWebView(const ControlDesc& d, QWidget* parent) {
    // No web engine: the view shows which page it would show.
    auto* view = new QLabel(parent);
    view->setTextFormat(Qt::PlainText);
    view->setAlignment(Qt::AlignCenter);
    view->setWordWrap(true);
    view->setFrameShape(QFrame::StyledPanel);
    view->setFrameShadow(QFrame::Sunken);
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, QColor(40, 80, 150));
    view->setPalette(palette);
    view->setText(FromGbk(d.text));
    return view;
}

}  // namespace

QFont GuiFont() {
    QFont font;
    font.setFamilies(kChineseFaces);
    font.setPixelSize(12);
    return font;
}

QFont FontOf(const FontDesc& desc) {
    QFont font;
    QStringList faces = kChineseFaces;
    faces.prepend(FromGbk(desc.family));
    font.setFamilies(faces);
    if (desc.height != 0) font.setPixelSize(desc.height < 0 ? -desc.height : desc.height);
    // Windows weights (100..900) map linearly onto Qt's.
    font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 100, 900)));
    return font;
}

BuiltControl* BuiltWindow::Find(std::string_view name) {
    auto it = controls.find(name);
    return it == controls.end() ? nullptr : &it->second;
}

std::unique_ptr<BuiltWindow> BuildWindow(const WindowDesc& desc, const EventSink& sink) {
    auto built = std::make_unique<BuiltWindow>();
    built->desc = &desc;
    auto* window = new FormWindow();
    built->widget = window;

    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (desc.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    if (desc.maximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    window->setWindowFlags(flags);
    window->setFixedSize(std::max(1, desc.width - kFrameWidth),
                         std::max(1, desc.height - kFrameHeight));
    window->setWindowTitle(FromGbk(desc.caption));
    window->setFont(GuiFont());
    if (desc.hasIcon) window->setWindowIcon(ProgramIcon());

    // Every date picker starts on this one reading of the clock, so that a
    // range of pickers never straddles a second (or midnight).
    const QDateTime openedAt = QDateTime::currentDateTime();
    QButtonGroup* radios = nullptr;
    for (const ControlDesc& d : desc.controls) {
        QWidget* parent = window;
        if (!d.parent.empty()) {
            BuiltControl* owner = built->Find(d.parent);
            if (owner && owner->desc->kind == ControlKind::TabControl) {
                auto* tabs = static_cast<TabControl*>(owner->widget);
                parent = tabs->Page(d.parentPage) ? tabs->Page(d.parentPage) : tabs->Page(0);
            } else if (owner) {
                parent = owner->widget;
            }
            if (!parent) parent = window;
        }
        const std::string name(d.name);
        BuiltControl control;
        control.desc = &d;
        QWidget* w = nullptr;
        switch (d.kind) {
            case ControlKind::EditBox:
                w = MakeEdit(d, parent);
                break;
            case ControlKind::Label: {
                auto* label = new QLabel(parent);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setText(FromGbk(d.text));
                w = label;
                break;
            }
            case ControlKind::Button: {
                auto* button = new QPushButton(FromGbk(d.text), parent);
                button->setAutoDefault(false);
                if (Binds(d.events, EventKind::Clicked)) {
                    QObject::connect(button, &QPushButton::clicked, window,
                                     [sink, name] { sink(name, EventKind::Clicked, 0); });
                }
                w = button;
                break;
            }
            case ControlKind::CheckBox: {
                auto* box = new QCheckBox(FromGbk(d.text), parent);
                box->setChecked(d.checked);
                w = box;
                break;
            }
            case ControlKind::RadioButton: {
                auto* radio = new QRadioButton(FromGbk(d.text), parent);
                // One group per window, whatever the radio button's parent.
                if (!radios) {
                    radios = new QButtonGroup(window);
                    radios->setExclusive(true);
                }
                radio->setAutoExclusive(false);
                radios->addButton(radio);
                radio->setChecked(d.checked);
                w = radio;
                break;
            }
            case ControlKind::GroupBox:
                w = new QGroupBox(FromGbk(d.text), parent);
                break;
            case ControlKind::ProgressBar: {
                auto* bar = new QProgressBar(parent);
                bar->setRange(0, 100);
                bar->setValue(0);
                bar->setTextVisible(false);
                w = bar;
                break;
            }
            case ControlKind::DatePicker:
                w = new DatePicker(openedAt, parent);
                break;
            case ControlKind::ListView: {
                auto* view = new ListView(parent);
                std::vector<QString> titles;
                for (const ColumnDesc& column : d.columns) titles.push_back(FromGbk(column.title));
                auto* model = new ListModel(std::move(titles), view);
                view->setModel(model);
                for (size_t i = 0; i < d.columns.size(); ++i) {
                    view->header()->resizeSection(static_cast<int>(i), d.columns[i].width);
                }
                if (Binds(d.events, EventKind::HeaderClicked)) {
                    QObject::connect(view->header(), &QHeaderView::sectionClicked, window,
                                     [sink, name](int column) {
                                         sink(name, EventKind::HeaderClicked, column);
                                     });
                }
                if (Binds(d.events, EventKind::RowActivated)) {
                    QObject::connect(view, &ListView::RowActivated, window, [sink, name](int row) {
                        sink(name, EventKind::RowActivated, row);
                    });
                }
                control.model = model;
                w = view;
                break;
            }
            case ControlKind::TabControl: {
                auto* tabs = new TabControl(parent);
                tabs->setGeometry(d.left, d.top, d.width, d.height);
                if (d.font) tabs->Bar()->setFont(FontOf(*d.font));
                for (std::string_view title : d.pages) tabs->AddPage(FromGbk(title));
                if (Binds(d.events, EventKind::PageChanged)) {
                    QObject::connect(tabs, &TabControl::PageChanged, window, [sink, name](int page) {
                        sink(name, EventKind::PageChanged, page);
                    });
                }
                w = tabs;
                break;
            }
            case ControlKind::WebView:
                w = MakeWebView(d, parent);
                control.address = std::string(d.text);
                break;
            case ControlKind::PictureButton: {
                auto* picture = new QLabel(parent);
                picture->setPixmap(BannerPicture(d.width, d.height, qApp->devicePixelRatio()));
                w = picture;
                break;
            }
        }
        w->setObjectName(FromGbk(d.name));
        w->setGeometry(d.left, d.top, d.width, d.height);
        if (d.font && d.kind != ControlKind::TabControl) w->setFont(FontOf(*d.font));
        if (!d.canFocus) w->setFocusPolicy(Qt::NoFocus);
        if (!d.enabled) w->setEnabled(false);
        if (!d.visible) w->hide();
        control.widget = w;
        built->controls.emplace(name, std::move(control));
    }
    return built;
}

}  // namespace zelvo::qt
