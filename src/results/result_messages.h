#pragma once

#include <string>
#include <string_view>

// Texts of the boxes that the result operations show.
namespace zelvo {

inline constexpr std::string_view kSavedText = "全部保存完毕!";
inline constexpr std::string_view kSavedCaption = "恭喜你!";
inline constexpr std::string_view kSaveFolderTitle = "请选择要保存的路径";
inline constexpr std::string_view kBlankFolderTitle = "请选择保存路径";

inline constexpr std::string_view kPlacesNotFileNameText =
    "起点和终点不能含有 \\ / : 这样的路径字符：过滤结果只能保存在当前目录。";
inline constexpr std::string_view kCourierNotFileNameText =
    "快递类型含有 \\ / : 这样的路径字符，不能作为文件名，未保存。";

inline std::string writeFailedText(std::string_view path) {
    return "无法写入文件，未保存：\r\n" + std::string(path);
}
inline std::string savedInFolderText(std::string_view folder) {
    return std::string(kSavedText) + "\r\n文件保存在：" + std::string(folder);
}
inline std::string readFailedText(std::string_view path) {
    return "无法读取文件，结果列表未改变：\r\n" + std::string(path);
}
inline std::string tooLargeText(std::string_view path) {
    return "文件大于128MB，不是保存的结果文件，结果列表未改变：\r\n" + std::string(path);
}

}  // namespace zelvo
