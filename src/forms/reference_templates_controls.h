#pragma once

#include <string_view>

// The reference-template window's controls that the handlers address by name,
// as in the window's description (reference_templates_form.cpp).
namespace zelvo::templates_window {

inline constexpr std::string_view kAutoCloseBox = "选择框1";
inline constexpr std::string_view kCourierList = "超级列表框1";
inline constexpr std::string_view kDescriptionBox = "编辑框1";

}  // namespace zelvo::templates_window
