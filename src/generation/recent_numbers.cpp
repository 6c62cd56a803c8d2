#include "generation/recent_numbers.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "forms/main_window_controls.h"
#include "generation/template_expansion.h"
#include "runtime/convert.h"
#include "runtime/random.h"
#include "runtime/text.h"
#include "verification/courier_table.h"

namespace zelvo {

namespace {

constexpr WindowId kRecent = WindowId::RecentNumbers;
constexpr WindowId kMain = WindowId::Main;
constexpr std::string_view kNumberBox = "编辑框1";
constexpr std::string_view kDigitsBox = "编辑框2";
constexpr std::string_view kIncrementMode = "单选框1";
constexpr std::string_view kStartButton = "按钮1";
using main_window::kCountBox;
using main_window::kCourierBox;
using main_window::kNumbersBox;

// The tail of a number as a long integer, read as ToInteger reads text but
// over 64 bits: a tail of ten or more digits does not wrap at 32 bits.
std::int64_t toLongInteger(std::string_view text) {
    const std::string s = NormalizeFullWidth(text);
    std::size_t pos = 0;
    // The blanks ToInteger skips: space and tab to carriage return.
    while (pos < s.size() && (s[pos] == ' ' || (s[pos] >= '\t' && s[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos++] == '-';
    }
    std::uint64_t value = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
        value = value * 10u + static_cast<unsigned>(s[pos++] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int64_t>(value);
}

constexpr std::string_view kTooMany =
    "生成个数或位数太大：一次最多生成2000000个单号，生成内容最多128MB。请减少生成个数或位数。";

// The same bounds as a generation run: a count or a digit count typed by
// mistake must not fill the memory or hold the window for hours.
bool fitsGenerationLimits(int count, int prefixLength, int digits) {
    if (count <= 0) return true;
    if (count > kMaxGeneratedLines) return false;
    // A counted tail can grow to 20 digits; a padded or random one has k.
    const std::int64_t lineBytes = std::int64_t{prefixLength} + std::max(digits, 20) + 2;
    return static_cast<std::int64_t>(count) * lineBytes <= kMaxGeneratedBytes;
}

int digitsWanted(UiPort& ui) { return ToInteger(ui.GetText(kRecent, kDigitsBox)); }

int countWanted(UiPort& ui) { return ToInteger(ui.GetText(kMain, kCountBox)); }

void appendCounting(UiPort& ui, const std::string& prefix, std::int64_t counter) {
    const int count = countWanted(ui);
    for (int i = 0; i < count; ++i) {
        // A long integer wraps past its largest value like the 32-bit one.
        counter = static_cast<std::int64_t>(static_cast<std::uint64_t>(counter) + 1u);
        std::string tail = ToText(counter);
        const int width = digitsWanted(ui);
        if (TextLength(tail) < width) {
            tail.insert(0, static_cast<std::size_t>(width - TextLength(tail)), '0');
        }
        ui.AppendText(kMain, kNumbersBox, prefix + tail + "\r\n");
    }
}

// Gives whether every wanted line was added.
bool appendRandom(UiPort& ui, const std::string& prefix, int redrawLimit, int& added) {
    GenerationSettings settings;
    TemplateExpander expander(settings);
    int repeats = 0;
    added = 0;
    while (added < countWanted(ui)) {
        const std::string candidate = prefix + expander.randomDigits(digitsWanted(ui));
        if (FindText(ui.GetText(kMain, kNumbersBox), candidate) < 0) {
            ui.AppendText(kMain, kNumbersBox, candidate + "\r\n");
            ++added;
            repeats = 0;
            continue;
        }
        if (++repeats >= redrawLimit) {
            return false;
        }
        ui.Delay(100);
    }
    return true;
}

}  // namespace

void requireCourier(UiPort& ui) {
    const std::string courier = ui.GetText(kMain, kCourierBox);
    if (courier.empty()) {
        ui.MessageBox("快递类型不能为空，请先选择快递类型!", kIconInformation, "错误");
        ui.CloseWindow(kRecent);
    } else if (findTrackingParser(courier) == nullptr) {
        // Its numbers could not be verified: nothing is generated for it.
        ui.MessageBox(unknownCourierText(courier), kIconInformation, "对不起");
        ui.CloseWindow(kRecent);
    }
}

void generateFromRecentNumber(UiPort& ui, const std::function<void()>& startVerification,
                              int redrawLimit) {
    ui.SetEnabled(kRecent, kStartButton, false);
    const std::string recent = ui.GetText(kRecent, kNumberBox);
    if (recent.empty()) {
        ui.MessageBox("编辑框内容不能为空", kIconError, "出错");
        ui.SetEnabled(kRecent, kStartButton, true);
        return;
    }
    const int length = TextLength(recent);
    const int varying = digitsWanted(ui);
    // All of N when no digit varies; length - varying could overflow.
    const std::string prefix = LeftText(recent, varying <= 0 ? length : length - varying);
    const std::int64_t counter = toLongInteger(RightText(recent, varying));
    if (!fitsGenerationLimits(countWanted(ui), TextLength(prefix), varying)) {
        ui.MessageBox(kTooMany, kIconInformation);
        ui.SetEnabled(kRecent, kStartButton, true);
        return;
    }

    SeedRandom();
    ui.SetVisible(kMain, kNumbersBox, false);
    if (ui.IsChecked(kRecent, kIncrementMode)) {
        appendCounting(ui, prefix, counter);
    } else {
        int added = 0;
        if (!appendRandom(ui, prefix, redrawLimit, added)) {
            ui.SetVisible(kMain, kNumbersBox, true);
            ui.MessageBox("无法再生成不重复的定单号，本次只添加了" + ToText(added) + "个",
                          kIconInformation, "提示");
        }
    }
    ui.SetVisible(kMain, kNumbersBox, true);
    if (startVerification) {
        startVerification();
    }
    ui.SetEnabled(kRecent, kStartButton, true);
    ui.CloseWindow(kRecent);
}

}  // namespace zelvo
