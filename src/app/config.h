#pragma once

#include <string_view>

// Everything the program needs but does not fix: the publisher's contact
// line, the advertising pages and texts, and hosts chosen by the build. The
// defaults use reserved example domains so that a stock build reaches no
// real site. Texts are GBK.
namespace zelvo::config {

// The publisher's contact line, shown in the main window's title after the
// product name.
inline constexpr std::string_view kPublisherAddress = "http://www.zelvo.example/";
inline constexpr std::string_view kPublisherCompany = "Zelvo软件工作室";
inline constexpr std::string_view kPublisherPhone = "电话:000-00000000";

// Advertising: the banner web view, the website tab, the line under the tab
// control and the recent-number window's caption.
inline constexpr std::string_view kBannerAddress = "http://www.zelvo.example/banner.html";
inline constexpr std::string_view kWebsiteAddress = "http://www.zelvo.example/";
inline constexpr std::string_view kAdvertisingLine =
    "更多快递工具请访问 http://www.zelvo.example/";
inline constexpr std::string_view kRecentNumbersCaption =
    "Zelvo 根据真实定单模拟生成，先效验再使用";

}  // namespace zelvo::config
