#include "generation/generation_fields.h"

#include <algorithm>
#include <optional>

#include "runtime/convert.h"
#include "runtime/datetime.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

constexpr std::int64_t kLargestInteger = 2147483647;

// The whole number a box holds, read as the expansion reads it: blanks
// around it, a leading "+", leading zeros and full-width digits are
// accepted; anything else (a "-", a fraction, letters after the digits, no
// digits at all) is not a whole number. Nothing beyond max either.
std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t max) {
    const std::string s = TrimText(NormalizeFullWidth(text));
    std::size_t pos = s.size() > 0 && s[0] == '+' ? 1 : 0;
    if (pos == s.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; pos < s.size(); ++pos) {
        if (s[pos] < '0' || s[pos] > '9') return std::nullopt;
        value = value * 10 + (s[pos] - '0');
        if (value > max) return std::nullopt;
    }
    return value;
}

bool uses(const std::vector<PlaceholderKind>& parts, PlaceholderKind kind) {
    return std::find(parts.begin(), parts.end(), kind) != parts.end();
}

std::string refused(std::string_view field, std::string_view takes) {
    return std::string(field) + "填写有误:" + std::string(takes) + ",请改正后再生成。";
}

}  // namespace

std::string generationFieldFault(const std::string& countText,
                                 const std::vector<PlaceholderKind>& parts,
                                 const GenerationSettings& settings) {
    if (uses(parts, PlaceholderKind::Random) &&
        !wholeNumber(settings.randomCount, kLargestInteger)) {
        return refused("随机位数", "要填一个不小于0的整数(随机数字的位数)");
    }
    if (uses(parts, PlaceholderKind::Time)) {
        // A stamp has four digits of year: years below 1000 would give
        // shorter numbers, and an unreadable date reads as the year 100.
        const int year = YearOf(TextToDateTime(settings.startTime));
        if (year < 1000 || year > 9999) {
            return refused("递增时间", "要填1000年到9999年之间的日期,例如20100101");
        }
    }
    // A count beyond the most lines a run makes is refused after these
    // checks, with the limits of a run.
    const std::optional<std::int64_t> count = wholeNumber(countText, kLargestInteger);
    if (uses(parts, PlaceholderKind::Increment)) {
        // The counter goes up by one at every {递增}: the last value must stay
        // a 32-bit number, or the numbers would gain a minus sign.
        const std::int64_t perLine =
            std::count(parts.begin(), parts.end(), PlaceholderKind::Increment);
        std::int64_t needed = count && *count <= kMaxGeneratedLines ? *count * perLine : 0;
        // So many parts are refused with the limits of a run anyway.
        if (needed > kMaxGeneratedParts) needed = 0;
        const std::int64_t largest = kLargestInteger - needed;
        if (!wholeNumber(settings.counter, largest)) {
            return refused("递增数值", "要填0到" + ToText(largest) + "之间的整数(本次生成要用" +
                                           ToText(needed) + "个递增值)");
        }
    }
    if (!count) {
        return refused("生成个数",
                       "要填一个不小于0的整数(一次最多" + ToText(kMaxGeneratedLines) + "个)");
    }
    return {};
}

}  // namespace zelvo
