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

// The rule source's address is the build setting ZELVO_RULE_SOURCE_URL (see
// DefaultRuleSourceAddress in rules/rule_service_client.h); a build without
// one delivers the built-in record below.
//
// The built-in RuleRecord: what a rule source without a list of its own
// delivers (followed by "\r\n"), and the mark of a loaded list, which must be
// longer. Its query prefix points at a reserved example host.
inline constexpr std::string_view kBuiltInRuleRecord =
    "中通快递|010034|0|0|0|6|20100101|50|{固数1}+{随机}|"
    "参考定单-010034965571-618102303454-618090324228-200831600838-改变固数，可以改变出发城市|"
    "http://www.zto.example/zto.asp?No=|中通";

// Tracking hosts that no rule supplies: the railway express query endpoint
// (the number follows directly) and the AAE site's row background image,
// which the AAE parser uses as a marker in the page.
inline constexpr std::string_view kRailwayQueryPrefix =
    "http://www.cre.example/creweb/cms/web/Fhwcxselect.jsp?sheet_no=";
inline constexpr std::string_view kAaeRowImageAddress = "http://www.aae.example/track/img/bgr.gif";

}  // namespace zelvo::config
