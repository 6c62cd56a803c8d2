#include "app/command_line.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "app/version.h"
#include "rules/rule_source.h"
#include "runtime/gbk_utf8.h"

namespace zelvo {

namespace {

constexpr std::string_view kRulesOption = "--rules";

constexpr std::string_view kHelp =
    "用法: zelvo [--rules 地址|文件] [--help] [--version]\n"
    "\n"
    "  --rules 地址   从 http:// 或 https:// 地址读取规则列表 (GBK 文本)\n"
    "  --rules 文件   从本地规则列表文件读取 (GBK 文本, 每行一条规则, 12 个以 | 分隔的字段)\n"
    "  --help         显示本说明后退出\n"
    "  --version      显示版本后退出\n"
    "\n"
    "不给 --rules 时使用程序自带的规则来源。程序不保存任何设置, 每次启动都要重新给出。\n";

// The product and version, as the main window's title begins.
constexpr std::string_view kVersion = ZELVO_PRODUCT_TITLE "\n";

CommandLine Exit(std::string_view output, int exitCode) {
    CommandLine command;
    command.action = CommandLine::Action::Exit;
    command.exitCode = exitCode;
    (exitCode == 0 ? command.standardOutput : command.standardError) = output;
    return command;
}

// One line on standard error.
CommandLine Mistake(std::string_view message) {
    std::string line = "zelvo: ";
    line += message;
    line += '\n';
    return Exit(line, kCommandLineMistake);
}

// An argument as the messages quote it: GBK, on one line.
std::string Quoted(std::string_view utf8) {
    std::string shown = Utf8ToGbk(utf8).value_or("?");
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return "\"" + shown + "\"";
}

std::optional<std::string> AbsolutePath(std::string_view utf8) {
    std::error_code error;
    const std::filesystem::path given(std::u8string(utf8.begin(), utf8.end()));
    const std::filesystem::path absolute = std::filesystem::absolute(given, error);
    if (error) return std::nullopt;
    const std::u8string text = absolute.u8string();
    return std::string(text.begin(), text.end());
}

// The rule source for the value of --rules, or the mistake that ends the run.
CommandLine RuleSourceCommand(std::string_view value) {
    CommandLine command;
    if (IsRuleSourceAddress(value)) {
        if (value.substr(value.find("://") + 3).empty()) {
            return Mistake("规则来源地址 " + Quoted(value) + " 不完整");
        }
        const std::optional<std::string> address = Utf8ToGbk(value);
        if (!address) return Mistake("规则来源地址 " + Quoted(value) + " 含有 GBK 无法表示的字符");
        command.ruleSource = *address;
        return command;
    }
    const std::optional<std::string> absolute = AbsolutePath(value);
    const std::optional<std::string> path = absolute ? Utf8ToGbk(*absolute) : std::nullopt;
    if (!path) return Mistake("规则文件的路径 " + Quoted(value) + " 含有 GBK 无法表示的字符");
    switch (CheckRuleFile(*path)) {
        case RuleFileCheck::Usable:
            command.ruleSource = *path;
            return command;
        case RuleFileCheck::Unreadable:
            return Mistake("无法读取规则文件 " + Quoted(value));
        case RuleFileCheck::TooLarge:
            return Mistake("规则文件 " + Quoted(value) + " 太大 (上限 " +
                           std::to_string(kMaxRuleListBytes >> 20) + " MB)");
        case RuleFileCheck::NoRecord:
            break;
    }
    return Mistake("规则文件 " + Quoted(value) +
                   " 中没有一条有效的规则 (每行 12 个以 | 分隔的字段)");
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    std::optional<std::string> rules;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help") return Exit(kHelp, 0);
        if (argument == "--version") return Exit(kVersion, 0);
        if (argument == kRulesOption || argument.starts_with("--rules=")) {
            std::string_view value;
            if (argument == kRulesOption) {
                // An option in its place means the source was forgotten.
                if (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) {
                    value = arguments[++i];
                }
            } else {
                value = argument.substr(kRulesOption.size() + 1);
            }
            if (value.empty()) return Mistake("选项 --rules 缺少规则来源 (地址或文件)");
            if (rules) return Mistake("选项 --rules 只能给一次");
            rules = std::string(value);
            continue;
        }
        if (argument.starts_with("-")) {
            return Mistake("未知的选项 " + Quoted(argument) + " (用 --help 查看用法)");
        }
        return Mistake("多余的参数 " + Quoted(argument) + " (用 --help 查看用法)");
    }
    if (!rules) return CommandLine{};
    return RuleSourceCommand(*rules);
}

}  // namespace zelvo
