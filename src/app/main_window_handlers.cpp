#include "app/main_window_handlers.h"

#include "app/config.h"
#include "app/startup.h"

namespace zelvo {

namespace {

constexpr WindowId kMain = WindowId::Main;
constexpr int kWebsitePage = 1;

}  // namespace

std::string mainWindowTitle() {
    std::string title = "Zelvo快递单号生成器V4.30版";
    for (std::string_view part :
         {config::kPublisherAddress, config::kPublisherCompany, config::kPublisherPhone}) {
        title += ' ';
        title += part;
    }
    return title;
}

void onMainCreated(UiPort& ui) {
    ui.SetText(kMain, {}, mainWindowTitle());
    ui.SetText(kMain, "超文本浏览框1", config::kBannerAddress);
    ui.SetText(kMain, "超文本浏览框2", config::kWebsiteAddress);
}

void onMainAboutToBeDestroyed(ProgramState& state) { endProgram(state, 0); }

void clearGenerated(UiPort& ui) { ui.SetText(kMain, "生成内容", ""); }

void onTabChanged(UiPort& ui, int page) {
    if (page == kWebsitePage) ui.SetText(kMain, "超文本浏览框2", config::kWebsiteAddress);
}

void openReferenceTemplates(UiPort& ui) { ui.LoadWindow(WindowId::ReferenceTemplates, false); }

void openRecentNumbers(UiPort& ui) { ui.LoadWindow(WindowId::RecentNumbers, false); }

void openFilter(UiPort& ui) { ui.LoadWindow(WindowId::Filter, true); }

}  // namespace zelvo
