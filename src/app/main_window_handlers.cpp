#include "app/main_window_handlers.h"

#include "app/version.h"
#include "config/config.h"
#include "forms/main_window_controls.h"
#include "app/startup.h"

namespace zelvo {

namespace {

constexpr WindowId kMain = WindowId::Main;
using main_window::kBannerView;
using main_window::kNumbersBox;
using main_window::kWebsiteView;
constexpr int kWebsitePage = 1;

}  // namespace

std::string mainWindowTitle() {
    std::string title = ZELVO_PRODUCT_TITLE;
    for (std::string_view part :
         {config::kPublisherAddress, config::kPublisherCompany, config::kPublisherPhone}) {
        title += ' ';
        title += part;
    }
    return title;
}

void onMainCreated(UiPort& ui) {
    ui.SetText(kMain, {}, mainWindowTitle());
    ui.SetText(kMain, kBannerView, config::kBannerAddress);
    ui.SetText(kMain, kWebsiteView, config::kWebsiteAddress);
}

void onMainAboutToBeDestroyed(ProgramState& state) { endProgram(state, 0); }

void clearGenerated(UiPort& ui) { ui.SetText(kMain, kNumbersBox, ""); }

void onTabChanged(UiPort& ui, int page) {
    if (page == kWebsitePage) ui.SetText(kMain, kWebsiteView, config::kWebsiteAddress);
}

void openReferenceTemplates(UiPort& ui) { ui.LoadWindow(WindowId::ReferenceTemplates, false); }

void openRecentNumbers(UiPort& ui) { ui.LoadWindow(WindowId::RecentNumbers, false); }

void openFilter(UiPort& ui) { ui.LoadWindow(WindowId::Filter, true); }

}  // namespace zelvo
