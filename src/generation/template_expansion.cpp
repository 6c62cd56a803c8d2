#include "generation/template_expansion.h"

#include <algorithm>
#include <charconv>

#include "runtime/convert.h"
#include "runtime/random.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

void ReseedFromClock() { SeedRandom(); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Decimal text of one time-stamp field, "0"-prefixed when it is one character.
void AppendField(int value, std::string& out) {
    char digits[12];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    if (end - digits == 1) out.push_back('0');
    out.append(digits, end);
}

void AppendTwoDigits(int value, std::string& out) {
    out.push_back(static_cast<char>('0' + value / 10));
    out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

PlaceholderKind ClassifyPart(std::string_view part) {
    if (part == "{固数1}") return PlaceholderKind::Fixed1;
    if (part == "{固数2}") return PlaceholderKind::Fixed2;
    if (part == "{固数3}") return PlaceholderKind::Fixed3;
    if (part == "{随机}") return PlaceholderKind::Random;
    if (part == "{递增}") return PlaceholderKind::Increment;
    if (part == "{时间}") return PlaceholderKind::Time;
    return PlaceholderKind::None;
}

std::vector<std::string> splitTemplate(std::string_view numberTemplate) {
    return SplitText(numberTemplate, "+");
}

std::string formatTimeStamp(DateTime t) {
    std::string out;
    AppendField(YearOf(t), out);
    AppendField(MonthOf(t), out);
    AppendField(DayOf(t), out);
    AppendField(HourOf(t), out);
    AppendField(MinuteOf(t), out);
    return out;
}

TemplateExpander::TemplateExpander(const GenerationSettings& settings, Reseed reseed)
    : settings_(settings),
      reseed_(reseed ? reseed : &ReseedFromClock),
      randomCount_(ToInteger(settings.randomCount)),
      counter_(static_cast<std::uint32_t>(ToInteger(settings.counter))) {
    DateTime start = TextToDateTime(settings.startTime);
    year_ = YearOf(start);
    month_ = MonthOf(start);
    day_ = DayOf(start);
    hour_ = HourOf(start);
    minute_ = MinuteOf(start);
    second_ = SecondOf(start);
    pastLastDay_ = year_ == 9999 && month_ == 12 && day_ == 31 && (hour_ | minute_ | second_);
    rebuildDayPrefix();
}

std::string TemplateExpander::expandPlaceholder(std::string_view part) {
    std::string out;
    appendExpansion(ClassifyPart(part), out);
    return out;
}

std::string TemplateExpander::randomDigits(int n) {
    std::string out;
    appendRandomDigits(n, out);
    return out;
}

std::string TemplateExpander::nextIncrement() {
    std::string out;
    appendIncrement(out);
    return out;
}

std::string TemplateExpander::nextTimeStamp() {
    std::string out;
    appendTimeStamp(out);
    return out;
}

void TemplateExpander::appendLine(const std::vector<PlaceholderKind>& parts, std::string& out) {
    for (PlaceholderKind kind : parts) appendExpansion(kind, out);
}

void TemplateExpander::appendExpansion(PlaceholderKind kind, std::string& out) {
    switch (kind) {
        case PlaceholderKind::Fixed1: out += settings_.fixed1; break;
        case PlaceholderKind::Fixed2: out += settings_.fixed2; break;
        case PlaceholderKind::Fixed3: out += settings_.fixed3; break;
        case PlaceholderKind::Random: appendRandomDigits(randomCount_, out); break;
        case PlaceholderKind::Increment: appendIncrement(out); break;
        case PlaceholderKind::Time: appendTimeStamp(out); break;
        case PlaceholderKind::None: break;
    }
}

std::string TemplateExpander::counterText() const {
    return ToText(static_cast<int>(static_cast<std::int32_t>(counter_)));
}

DateTime TemplateExpander::runningTime() const {
    if (pastLastDay_) return kMaxDateTime;
    return MakeDateTime(year_, month_, day_, hour_, minute_, second_);
}

void TemplateExpander::appendRandomDigits(int n, std::string& out) {
    reseed_();
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>('0' + RandomInt(0, 9)));
}

void TemplateExpander::appendIncrement(std::string& out) {
    ++counter_;  // unsigned, so 2147483647 + 1 wraps to -2147483648 as the box shows it
    counterUsed_ = true;
    char digits[12];
    auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::int32_t>(counter_)).ptr;
    out.append(digits, end);
}

void TemplateExpander::appendTimeStamp(std::string& out) {
    advanceMinute();
    if (pastLastDay_) {
        // Date-times end at 9999-12-31 00:00; later values are shown clamped there.
        out += "999912310000";
        return;
    }
    out += dayPrefix_;
    AppendTwoDigits(hour_, out);
    AppendTwoDigits(minute_, out);
}

void TemplateExpander::advanceMinute() {
    if (pastLastDay_) return;
    if (++minute_ == 60) {
        minute_ = 0;
        if (++hour_ == 24) {
            hour_ = 0;
            if (++day_ > DaysInMonth(year_, month_)) {
                day_ = 1;
                if (++month_ > 12) {
                    month_ = 1;
                    ++year_;
                }
            }
            rebuildDayPrefix();
        }
    }
    pastLastDay_ = year_ == 9999 && month_ == 12 && day_ == 31 && (hour_ | minute_ | second_);
}

void TemplateExpander::rebuildDayPrefix() {
    dayPrefix_.clear();
    AppendField(year_, dayPrefix_);
    AppendField(month_, dayPrefix_);
    AppendField(day_, dayPrefix_);
}

std::int64_t MaxLineBytes(const std::vector<PlaceholderKind>& parts,
                          const GenerationSettings& settings) {
    std::int64_t randomDigits = std::max(0, ToInteger(settings.randomCount));
    std::int64_t bytes = 2;  // "\r\n"
    for (PlaceholderKind kind : parts) {
        switch (kind) {
            case PlaceholderKind::Fixed1: bytes += settings.fixed1.size(); break;
            case PlaceholderKind::Fixed2: bytes += settings.fixed2.size(); break;
            case PlaceholderKind::Fixed3: bytes += settings.fixed3.size(); break;
            case PlaceholderKind::Random: bytes += randomDigits; break;
            case PlaceholderKind::Increment: bytes += 11; break;  // "-2147483648"
            case PlaceholderKind::Time: bytes += 12; break;
            case PlaceholderKind::None: break;
        }
        // Stop counting once past any limit, so the sum cannot overflow.
        if (bytes > kMaxGeneratedBytes) return kMaxGeneratedBytes + 1;
    }
    return bytes;
}

bool FitsGenerationLimits(std::int64_t count, const std::vector<PlaceholderKind>& parts,
                          const GenerationSettings& settings) {
    if (count <= 0) return true;
    if (count > kMaxGeneratedLines) return false;
    return count * MaxLineBytes(parts, settings) <= kMaxGeneratedBytes;
}

std::string ExpandLines(TemplateExpander& expander, const std::vector<std::string>& parts,
                        int count) {
    std::vector<PlaceholderKind> kinds;
    kinds.reserve(parts.size());
    for (const std::string& part : parts) kinds.push_back(ClassifyPart(part));

    std::string text;
    if (count <= 0) return text;
    // MaxLineBytes is an upper bound; one allocation for the whole batch.
    text.reserve(static_cast<std::size_t>(std::min<std::int64_t>(
        count * MaxLineBytes(kinds, expander.settings()), kMaxGeneratedBytes)));
    for (int i = 0; i < count; ++i) {
        expander.appendLine(kinds, text);
        text += "\r\n";
    }
    return text;
}

}  // namespace zelvo
