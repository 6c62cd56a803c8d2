#include "results/result_files.h"

#include "runtime/convert.h"
#include "runtime/files.h"
#include "runtime/text.h"

namespace zelvo {

void appendResultLine(std::string& text, const std::vector<std::string>& cells) {
    // A cell ending in half a character would swallow the separator after it.
    for (const auto& cell : cells) {
        text += WithoutLoneLeadByte(cell);
        text += kCellSeparator;
    }
    text += kLineBreak;
}

std::string composeResultFile(const ResultTable& rows) {
    std::string text;
    for (const auto& row : rows) appendResultLine(text, row);
    return text;
}

ResultTable parseResultFile(std::string_view text, int columnCount) {
    ResultTable rows;
    for (const auto& line : SplitText(text, kLineBreak)) {
        std::vector<std::string> fields = SplitText(line, kCellSeparator);
        if (static_cast<int>(fields.size()) > columnCount) {
            fields.resize(columnCount > 0 ? static_cast<std::size_t>(columnCount) : 0);
        }
        // A file cut off inside a character leaves half of one in its last
        // cell; in the list it would break the next save.
        for (std::string& field : fields) field.resize(WithoutLoneLeadByte(field).size());
        rows.push_back(std::move(fields));
    }
    return rows;
}

std::string composeFilterFile(const FilterConditions& conditions, std::string_view courier,
                              const std::vector<std::string>& numbers) {
    std::string text;
    text += "起点:";
    text += conditions.startPlace;
    text += kLineBreak;
    text += "终点:";
    text += conditions.endPlace;
    text += kLineBreak;
    text += "发货时间:" + ToText(DatePart(conditions.departFrom)) + " - " +
            ToText(DatePart(conditions.departTo));
    text += kLineBreak;
    text += "收货时间:" + ToText(DatePart(conditions.receiptFrom)) + " - " +
            ToText(DatePart(conditions.receiptTo));
    text += kLineBreak;
    text += "快递类型:";
    text += courier;
    text += kLineBreak;
    text += "快递单编码:";
    text += kLineBreak;
    text += kLineBreak;
    for (const auto& number : numbers) {
        text += number;
        text += kLineBreak;
    }
    return text;
}

std::string composeBlankNumberFile(std::string_view courier, std::string_view blankNumbers) {
    std::string text;
    text += "快递类型：";
    text += courier;
    text += kLineBreak;
    text += "[该单号为空白单号，是更具物流公司单号规律生成，无法在淘宝或者官方网站查询!]";
    text += kLineBreak;
    text += "快递单编码：";
    text += kLineBreak;
    text += kLineBreak;
    text += blankNumbers;
    return text;
}

std::string filterFileName(std::string_view startPlace, std::string_view endPlace) {
    std::string name(startPlace);
    name += "－";
    name += endPlace;
    name += ".txt";
    return name;
}

bool isPlainFileName(std::string_view name) {
    // FindText looks at character starts only: the byte of "\" may be the
    // second byte of a GBK character, which is no separator.
    for (std::string_view forbidden : {"\\", "/", ":"}) {
        if (FindText(name, forbidden) != -1) return false;
    }
    return !name.empty() && name != "." && name != "..";
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    const std::string_view separator = PathSeparator();
    const bool endsWithSeparator =
        path.size() >= separator.size() &&
        FindTextReverse(path, separator) == static_cast<int>(path.size() - separator.size()) + 1;
    if (!endsWithSeparator) path += separator;
    path += name;
    return path;
}

}  // namespace zelvo
