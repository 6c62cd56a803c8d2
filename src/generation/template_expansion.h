#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/datetime.h"

// Template expansion: a NumberTemplate ("{固数1}+{递增}+{时间}+{随机}") turned into
// candidate numbers. Works on the texts of the generation boxes without any
// window, so the run handler only reads the boxes before and writes them after.
namespace zelvo {

// The generation boxes as texts, as the run reads them.
struct GenerationSettings {
    std::string fixed1;       // 固数1
    std::string fixed2;       // 固数2
    std::string fixed3;       // 固数3
    std::string randomCount;  // 随机框
    std::string counter;      // 递增
    std::string startTime;    // 时间框
};

enum class PlaceholderKind { None, Fixed1, Fixed2, Fixed3, Random, Increment, Time };

// Byte-exact, no trimming: anything else (blank, other letters, empty) is None.
PlaceholderKind ClassifyPart(std::string_view part);

// "+" splits as the runtime's SplitText does: empty parts between adjacent "+"
// are kept, a trailing "+" adds none, the empty template has no parts.
std::vector<std::string> splitTemplate(std::string_view numberTemplate);

// yyyyMMddHHmm; each field of one character gets a leading "0" (the year too),
// so the year 100 stays three digits.
std::string formatTimeStamp(DateTime t);

class TemplateExpander {
  public:
    // Reseeds the generator at every {随机}; tests pass a fixed seed.
    using Reseed = void (*)();

    explicit TemplateExpander(const GenerationSettings& settings, Reseed reseed = nullptr);

    std::string expandPlaceholder(std::string_view part);
    // n digits 0-9 (empty for n < 1); reseeds first, whatever n is.
    std::string randomDigits(int n);
    // The counter plus one (32-bit, wrapping), as text; it is what 递增 shows next.
    std::string nextIncrement();
    // runningTime plus one minute, formatted.
    std::string nextTimeStamp();

    // Write the expansion at out and return its end. out must have room for
    // it: MaxLineBytes of the parts bounds a whole line.
    char* writeLine(const std::vector<PlaceholderKind>& parts, char* out);
    char* writeExpansion(PlaceholderKind kind, char* out);

    const GenerationSettings& settings() const { return settings_; }
    bool counterUsed() const { return counterUsed_; }
    std::string counterText() const { return std::string(counterText_, counterLength_); }
    DateTime runningTime() const;

  private:
    char* writeRandomDigits(int n, char* out);
    char* writeIncrement(char* out);
    char* writeTimeStamp(char* out);
    void advanceMinute();
    void rebuildDayPrefix();

    const GenerationSettings& settings_;
    Reseed reseed_;
    int randomCount_;
    std::uint32_t counter_;
    bool counterUsed_ = false;
    char counterText_[12];  // the counter's decimal text, kept up to date in place
    int counterLength_ = 0;
    // The running time as calendar fields, advanced minute by minute.
    int year_, month_, day_, hour_, minute_, second_;
    bool pastLastDay_ = false;  // beyond 9999-12-31 00:00: stamps stay clamped there
    std::string dayPrefix_;     // yyyyMMdd of the current day
};

// Upper limits of one run. The box holds every line, and the verification run
// copies them again; about 600 bytes per line were measured for a Qt text box,
// so 2,000,000 lines take over a gigabyte before any verification starts.
inline constexpr std::int64_t kMaxGeneratedLines = 2'000'000;
inline constexpr std::int64_t kMaxGeneratedBytes = 128LL * 1024 * 1024;
// Every recognised part costs time even when it adds no byte ({随机} of no
// digits still reseeds): this bounds a run to a few seconds.
inline constexpr std::int64_t kMaxGeneratedParts = 64'000'000;

// The most bytes one line can take (line break included) for these parts.
std::int64_t MaxLineBytes(const std::vector<PlaceholderKind>& parts,
                          const GenerationSettings& settings);
// Whether count lines of these parts stay within the limits above.
bool FitsGenerationLimits(std::int64_t count, const std::vector<PlaceholderKind>& parts,
                          const GenerationSettings& settings);

// The whole batch: count lines, each ended by "\r\n"; no line for count <= 0.
// A batch beyond the limits above throws std::length_error.
std::string ExpandLines(TemplateExpander& expander, const std::vector<std::string>& parts,
                        int count);

}  // namespace zelvo
