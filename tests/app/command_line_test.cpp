#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "../results/temp_folder.h"
#include "runtime/bytes.h"
#include "runtime/files.h"

namespace zelvo {
namespace {

using Action = CommandLine::Action;
using testing::TempFolder;

const std::string kRecord =
    "中通快递|010034|0|0|0|6|20100101|50|{固数1}+{随机}|参考定单-1|http://a.example/?No=|中通";

// A mistake: one line on standard error, nothing on standard output, code 2.
void ExpectMistake(const std::vector<std::string>& arguments, const std::string& mentioning) {
    SCOPED_TRACE(arguments.empty() ? std::string() : arguments.front());
    const CommandLine command = parseCommandLine(arguments);
    EXPECT_EQ(command.action, Action::Exit);
    EXPECT_EQ(command.exitCode, 2);
    EXPECT_EQ(command.standardOutput, "");
    ASSERT_FALSE(command.standardError.empty());
    EXPECT_EQ(command.standardError.find('\n'), command.standardError.size() - 1);
    EXPECT_EQ(command.standardError.rfind("zelvo: ", 0), 0u);
    EXPECT_NE(command.standardError.find(mentioning), std::string::npos) << command.standardError;
}

// The same file, however each spelling writes it: Windows gives C:\a/b back
// as C:\a\b, and under Wine /a as Z:\a.
::testing::AssertionResult SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << a << "\" is not \"" << b << '"';
}

TEST(CommandLine, WithoutOptionsTheProgramStartsOnTheBuildSetting) {
    const CommandLine command = parseCommandLine({});
    EXPECT_EQ(command.action, Action::Start);
    EXPECT_EQ(command.ruleSource, "");
    EXPECT_EQ(command.exitCode, 0);
}

TEST(CommandLine, HelpAndVersionPrintToStandardOutputAndEndWithZero) {
    struct Case {
        std::vector<std::string> arguments;
        std::string begins;
    } cases[] = {
        {{"--help"}, "用法: zelvo [--rules 地址|文件]"},
        {{"--version"}, "Zelvo快递单号生成器V4.30版\n"},
        // Taken in order: what comes after is not looked at.
        {{"--help", "--bogus"}, "用法"},
        {{"--rules", "/no/such/file", "--version"}, "Zelvo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const CommandLine command = parseCommandLine(c.arguments);
        EXPECT_EQ(command.action, Action::Exit);
        EXPECT_EQ(command.exitCode, 0);
        EXPECT_EQ(command.standardOutput.rfind(c.begins, 0), 0u) << command.standardOutput;
        EXPECT_EQ(command.standardError, "");
    }
    EXPECT_NE(parseCommandLine({"--help"}).standardOutput.find("--rules 文件"), std::string::npos);
}

TEST(CommandLine, AnAddressIsTakenAsItStands) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--rules", "http://rules.example/list"}, {"--rules=http://rules.example/list"}}) {
        const CommandLine command = parseCommandLine(arguments);
        EXPECT_EQ(command.action, Action::Start);
        EXPECT_EQ(command.ruleSource, "http://rules.example/list");
    }
    EXPECT_EQ(parseCommandLine({"--rules", "HTTPS://rules.example/"}).ruleSource,
              "HTTPS://rules.example/");
}

TEST(CommandLine, MistakesEndWithOneLineAndCodeTwo) {
    ExpectMistake({"--rules"}, "--rules");
    ExpectMistake({"--rules="}, "--rules");
    ExpectMistake({"--rules", "--help"}, "--rules");
    ExpectMistake({"--bogus"}, "\"--bogus\"");
    ExpectMistake({"-h"}, "\"-h\"");
    ExpectMistake({"--help=1"}, "\"--help=1\"");
    ExpectMistake({"rules.txt"}, "\"rules.txt\"");
    ExpectMistake({"--rules", "http://"}, "\"http://\"");
    ExpectMistake({"--rules", "a", "--rules", "b"}, "--rules");
    ExpectMistake({"--rules", "/no/such/file"}, "\"/no/such/file\"");
    // An argument that would break the line is shown on one line.
    ExpectMistake({"--x\ny"}, "\"--x?y\"");
    // A path GBK cannot spell could not be opened by the program.
    ExpectMistake({"--rules", "/tmp/\xF0\x9F\x98\x80.txt"}, "GBK");
}

// A local file passes the checks of the rule source before any window opens.
TEST(CommandLine, ARuleFileIsCheckedAndNamedByItsAbsolutePath) {
    TempFolder folder;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string path = folder.path() + "/" + name;
        EXPECT_TRUE(WriteFileBytes(path, {AsBytes(bytes)}));
        return path;
    };
    const std::string good = write("good.txt", "garbage\r\n" + kRecord + "\r\n");
    const CommandLine given = parseCommandLine({"--rules", good});
    EXPECT_TRUE(std::filesystem::path(given.ruleSource).is_absolute()) << given.ruleSource;
    EXPECT_TRUE(SameFile(given.ruleSource, good));
    const std::string afterNul = write("nul-after.txt", kRecord + std::string(1, '\0') + "x");
    EXPECT_EQ(parseCommandLine({"--rules", afterNul}).action, Action::Start);

    {
        testing::CurrentDirectoryScope inFolder(folder.path());
        const CommandLine relative = parseCommandLine({"--rules", "good.txt"});
        EXPECT_EQ(relative.action, Action::Start);
        EXPECT_TRUE(SameFile(relative.ruleSource, good));
    }

    ExpectMistake({"--rules", write("empty.txt", "")}, "empty.txt");
    ExpectMistake({"--rules", write("page.html", "<html>404 Not Found</html>")}, "page.html");
    ExpectMistake({"--rules", write("eleven.txt", "a|b|c|d|e|f|g|h|i|j|k\r\n")}, "eleven.txt");
    // The text ends at the first NUL byte, and the record after it with it.
    ExpectMistake({"--rules", write("nul-before.txt", std::string(1, '\0') + kRecord)},
                  "nul-before.txt");
    ExpectMistake({"--rules", folder.path()}, folder.path());
    const std::string huge = write("huge.txt", kRecord + "\r\n");
    std::filesystem::resize_file(huge, 16 * 1024 * 1024 + 1);  // sparse: costs no disk
    ExpectMistake({"--rules", huge}, "16 MB");
}

TEST(CommandLine, TheShippedExampleIsARuleFile) {
    const CommandLine command = parseCommandLine({"--rules", ZELVO_EXAMPLE_RULES});
    EXPECT_EQ(command.action, Action::Start);
    EXPECT_TRUE(SameFile(command.ruleSource, ZELVO_EXAMPLE_RULES));
}

}  // namespace
}  // namespace zelvo
