#pragma once

#include <string_view>

// The main window's controls that the handlers address by name: one spelling
// each, as in the window's description (main_window_form.cpp).
namespace zelvo::main_window {

// The generation fields.
inline constexpr std::string_view kFixed1Box = "固数1";
inline constexpr std::string_view kFixed2Box = "固数2";
inline constexpr std::string_view kFixed3Box = "固数3";
inline constexpr std::string_view kRandomBox = "随机框";
inline constexpr std::string_view kTimeBox = "时间框";
inline constexpr std::string_view kCounterBox = "递增";
inline constexpr std::string_view kCountBox = "生成个数框";
inline constexpr std::string_view kCourierBox = "快递类型";
inline constexpr std::string_view kTemplateBox = "规则";
inline constexpr std::string_view kNumbersBox = "生成内容";

// Verification and its results.
inline constexpr std::string_view kVerifyButton = "按钮6";
inline constexpr std::string_view kThreadsBox = "效验线程";
inline constexpr std::string_view kResultList = "超级列表框1";
inline constexpr std::string_view kResultProgress = "进度条1";

// The banner and the publisher's site.
inline constexpr std::string_view kBannerView = "超文本浏览框1";
inline constexpr std::string_view kWebsiteView = "超文本浏览框2";

}  // namespace zelvo::main_window
