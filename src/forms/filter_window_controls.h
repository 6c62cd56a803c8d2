#pragma once

#include <string_view>

// The filter window's controls that the handlers address by name, as in the
// window's description (filter_window_form.cpp).
namespace zelvo::filter_window {

inline constexpr std::string_view kStartPlaceBox = "起点";
inline constexpr std::string_view kEndPlaceBox = "终点";
inline constexpr std::string_view kDepartFromPicker = "发货时间始";
inline constexpr std::string_view kDepartToPicker = "发货时间终";
inline constexpr std::string_view kReceiptFromPicker = "收货时间始";
inline constexpr std::string_view kReceiptToPicker = "收货时间终";
inline constexpr std::string_view kFilterButton = "按钮1";

}  // namespace zelvo::filter_window
