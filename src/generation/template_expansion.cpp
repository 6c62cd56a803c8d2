#include "generation/template_expansion.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

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
    counterLength_ =
        static_cast<int>(std::to_chars(counterText_, counterText_ + sizeof counterText_,
                                       static_cast<std::int32_t>(counter_))
                             .ptr -
                         counterText_);
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
    switch (ClassifyPart(part)) {
        case PlaceholderKind::Fixed1:
            return settings_.fixed1;
        case PlaceholderKind::Fixed2:
            return settings_.fixed2;
        case PlaceholderKind::Fixed3:
            return settings_.fixed3;
        case PlaceholderKind::Random:
            return randomDigits(randomCount_);
        case PlaceholderKind::Increment:
            return nextIncrement();
        case PlaceholderKind::Time:
            return nextTimeStamp();
        case PlaceholderKind::None:
            break;
    }
    return {};
}

std::string TemplateExpander::randomDigits(int n) {
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '0');
    writeRandomDigits(n, out.data());
    return out;
}

std::string TemplateExpander::nextIncrement() {
    char text[12];
    return std::string(text, writeIncrement(text));
}

std::string TemplateExpander::nextTimeStamp() {
    char text[16];
    return std::string(text, writeTimeStamp(text));
}

char* TemplateExpander::writeLine(const std::vector<PlaceholderKind>& parts, char* out) {
    for (PlaceholderKind kind : parts) out = writeExpansion(kind, out);
    return out;
}

char* TemplateExpander::writeExpansion(PlaceholderKind kind, char* out) {
    auto copy = [out](const std::string& text) { return std::copy(text.begin(), text.end(), out); };
    switch (kind) {
        case PlaceholderKind::Fixed1:
            return copy(settings_.fixed1);
        case PlaceholderKind::Fixed2:
            return copy(settings_.fixed2);
        case PlaceholderKind::Fixed3:
            return copy(settings_.fixed3);
        case PlaceholderKind::Random:
            return writeRandomDigits(randomCount_, out);
        case PlaceholderKind::Increment:
            return writeIncrement(out);
        case PlaceholderKind::Time:
            return writeTimeStamp(out);
        case PlaceholderKind::None:
            break;
    }
    return out;
}

DateTime TemplateExpander::runningTime() const {
    if (pastLastDay_) return kMaxDateTime;
    return MakeDateTime(year_, month_, day_, hour_, minute_, second_);
}

char* TemplateExpander::writeRandomDigits(int n, char* out) {
    reseed_();
    for (int i = 0; i < n; ++i) *out++ = static_cast<char>('0' + RandomInt(0, 9));
    return out;
}

char* TemplateExpander::writeIncrement(char* out) {
    ++counter_;  // unsigned, so 2147483647 + 1 wraps to -2147483648 as the box shows it
    counterUsed_ = true;
    if (static_cast<std::int32_t>(counter_) > 0) {
        // The text held the value below, without sign: add one in place.
        int i = counterLength_ - 1;
        while (i >= 0 && counterText_[i] == '9') counterText_[i--] = '0';
        if (i >= 0) {
            ++counterText_[i];
        } else {
            std::copy_backward(counterText_, counterText_ + counterLength_,
                               counterText_ + counterLength_ + 1);
            counterText_[0] = '1';
            ++counterLength_;
        }
    } else {
        counterLength_ =
            static_cast<int>(std::to_chars(counterText_, counterText_ + sizeof counterText_,
                                           static_cast<std::int32_t>(counter_))
                                 .ptr -
                             counterText_);
    }
    return std::copy(counterText_, counterText_ + counterLength_, out);
}

char* TemplateExpander::writeTimeStamp(char* out) {
    advanceMinute();
    if (pastLastDay_) {
        // Date-times end at 9999-12-31 00:00; later values are shown clamped there.
        static constexpr std::string_view kLast = "999912310000";
        return std::copy(kLast.begin(), kLast.end(), out);
    }
    out = std::copy(dayPrefix_.begin(), dayPrefix_.end(), out);
    *out++ = static_cast<char>('0' + hour_ / 10);
    *out++ = static_cast<char>('0' + hour_ % 10);
    *out++ = static_cast<char>('0' + minute_ / 10);
    *out++ = static_cast<char>('0' + minute_ % 10);
    return out;
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
            case PlaceholderKind::Fixed1:
                bytes += settings.fixed1.size();
                break;
            case PlaceholderKind::Fixed2:
                bytes += settings.fixed2.size();
                break;
            case PlaceholderKind::Fixed3:
                bytes += settings.fixed3.size();
                break;
            case PlaceholderKind::Random:
                bytes += randomDigits;
                break;
            case PlaceholderKind::Increment:
                bytes += 11;
                break;  // "-2147483648"
            case PlaceholderKind::Time:
                bytes += 12;
                break;
            case PlaceholderKind::None:
                break;
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
    auto recognised = std::count_if(parts.begin(), parts.end(),
                                    [](PlaceholderKind k) { return k != PlaceholderKind::None; });
    if (count * static_cast<std::int64_t>(recognised) > kMaxGeneratedParts) return false;
    return count * MaxLineBytes(parts, settings) <= kMaxGeneratedBytes;
}

std::string ExpandLines(TemplateExpander& expander, const std::vector<std::string>& parts,
                        int count) {
    std::vector<PlaceholderKind> kinds;
    kinds.reserve(parts.size());
    for (const std::string& part : parts) {
        // Unrecognised parts expand to nothing and change nothing.
        if (PlaceholderKind kind = ClassifyPart(part); kind != PlaceholderKind::None) {
            kinds.push_back(kind);
        }
    }

    std::string text;
    if (count <= 0) return text;
    const std::int64_t lineBytes = MaxLineBytes(kinds, expander.settings());
    if (lineBytes > kMaxGeneratedBytes || count > kMaxGeneratedBytes / lineBytes) {
        throw std::length_error("generation run beyond its limits");
    }
    // Sized for the longest possible lines, written in place, then cut to size.
    text.resize(static_cast<std::size_t>(count * lineBytes));
    char* const begin = text.data();
    char* out = begin;
    for (int i = 0; i < count; ++i) {
        out = expander.writeLine(kinds, out);
        *out++ = '\r';
        *out++ = '\n';
    }
    text.resize(static_cast<std::size_t>(out - begin));
    return text;
}

}  // namespace zelvo
