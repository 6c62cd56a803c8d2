// zelvo's options. The built program is run as a child process for every
// case that ends before a window: it is given no display at all, so an exit
// with the expected code also shows that Qt was never started; with the
// example rule file it is seen to start. Picking every courier of that file
// goes through the same entry as zelvo's main(), in this process, on the
// offscreen platform.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "application.h"
#include "gbk.h"
#include "generation/rule_record.h"
#include "qt_test_program.h"
#include "qt_ui.h"
#include "rules/reference_templates_window.h"
#include "rules/rule_source.h"
#include "runtime/convert.h"

extern char** environ;

namespace zelvo::qt {
namespace {

struct Finished {
    int code = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

constexpr int kStillRunning = -2;

// Runs zelvo with the arguments on the Qt platform given; without a display
// for "xcb". With a limit, a program still running then is ended, and its
// code is kStillRunning.
Finished RunZelvoProcess(const std::vector<std::string>& arguments, const std::string& platform,
                         std::chrono::milliseconds limit = {}) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zelvo_options_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string out = (dir / "out").string();
    const std::string err = (dir / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> argv = {ZELVO_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    std::vector<std::string> env = {
        "QT_QPA_PLATFORM=" + platform, "LC_ALL=C",
        std::string("LSAN_OPTIONS=suppressions=") + ZELVO_LSAN_SUPPRESSIONS};
    if (const char* path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    Finished finished;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(pid, &status, limit.count() > 0 ? WNOHANG : 0) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                status = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        finished.code = status == -1        ? kStillRunning
                        : WIFEXITED(status) ? WEXITSTATUS(status)
                                            : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    finished.out = ReadAll(out);
    finished.err = ReadAll(err);
    std::filesystem::remove_all(dir);
    return finished;
}

TEST(ZelvoOptions, AnswersBeforeAnyWindowOpens) {
    struct Case {
        std::vector<std::string> arguments;
        int code;
        const char8_t* out;  // the beginning of standard output (UTF-8)
        const char8_t* err;  // the one line on standard error (UTF-8)
    } cases[] = {
        {{"--help"}, 0, u8"用法: zelvo [--rules 地址|文件]", nullptr},
        {{"--version"}, 0, u8"Zelvo快递单号生成器V4.30版\n", nullptr},
        {{"--rules", "/no/such/file"}, 2, nullptr, u8"zelvo: 无法读取规则文件 \"/no/such/file\"\n"},
        {{"--rules"}, 2, nullptr, u8"zelvo: 选项 --rules 缺少规则来源 (地址或文件)\n"},
        {{"--bogus"}, 2, nullptr, u8"zelvo: 未知的选项 \"--bogus\" (用 --help 查看用法)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const Finished finished = RunZelvoProcess(c.arguments, "xcb");
        EXPECT_EQ(finished.code, c.code) << finished.err;
        if (c.out) {
            EXPECT_EQ(finished.out.rfind(Utf8(c.out), 0), 0u) << finished.out;
            EXPECT_EQ(finished.err, "");
        } else {
            EXPECT_EQ(finished.out, "");
            EXPECT_EQ(finished.err, Utf8(c.err));
        }
    }
}

// The built program takes the example file and goes on to its window.
TEST(ZelvoOptions, TheProgramStartsWithTheExampleRuleFile) {
    const Finished finished =
        RunZelvoProcess({"--rules", ZELVO_EXAMPLE_RULES}, "offscreen", std::chrono::seconds(3));
    EXPECT_EQ(finished.code, kStillRunning) << finished.err;
    EXPECT_EQ(finished.err.find("zelvo:"), std::string::npos) << finished.err;
    EXPECT_EQ(finished.out, "");
}

using testing::ControlWidget;
using testing::SpinUntil;

// Picks the courier in the reference-template window as a user does.
void PickCourier(QtUi& ui, std::string_view courier) {
    constexpr WindowId kTemplates = WindowId::ReferenceTemplates;
    QTest::mouseClick(ControlWidget<QPushButton>(ui, WindowId::Main, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(ui.IsWindowOpen(kTemplates));
    ui.Window(kTemplates)->activateWindow();
    ASSERT_TRUE(SpinUntil([&] { return ui.ListCount(kTemplates, "超级列表框1") == 12; }));
    const auto listed = std::find(kReferenceCouriers.begin(), kReferenceCouriers.end(), courier);
    ASSERT_NE(listed, kReferenceCouriers.end());
    auto* view = ControlWidget<QTreeView>(ui, kTemplates, "超级列表框1");
    ASSERT_NE(view, nullptr);
    const int row = static_cast<int>(listed - kReferenceCouriers.begin());
    const QPoint centre = view->visualRect(view->model()->index(row, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(SpinUntil([&] { return !ui.IsWindowOpen(kTemplates); }));
}

TEST(ZelvoOptions, TheExampleRuleFileAppliesEachOfItsCouriers) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::vector<RuleRecord> records;
    for (const std::string& line :
         SplitRuleList(ToText(BytesView(ReadRuleFile(ZELVO_EXAMPLE_RULES))))) {
        if (auto record = ParseRuleRecord(line)) records.push_back(*record);
    }
    ASSERT_EQ(records.size(), 3u);

    std::string program = "zelvo";
    std::string option = "--rules";
    std::string file = ZELVO_EXAMPLE_RULES;
    char* argv[] = {program.data(), option.data(), file.data(), nullptr};
    int picked = 0;
    const int code = RunZelvo(3, argv, [&](QtUi& ui) {
        for (const RuleRecord& record : records) {
            SCOPED_TRACE(record.reference);
            PickCourier(ui, record.courierName);
            EXPECT_EQ(ui.GetText(WindowId::Main, "快递类型"), record.courierName);
            EXPECT_EQ(ui.GetText(WindowId::Main, "固数1"), record.fixed1);
            EXPECT_EQ(ui.GetText(WindowId::Main, "固数2"), record.fixed2);
            EXPECT_EQ(ui.GetText(WindowId::Main, "随机框"), record.randomCount);
            EXPECT_EQ(ui.GetText(WindowId::Main, "生成个数框"), record.count);
            EXPECT_EQ(ui.GetText(WindowId::Main, "规则"), record.numberTemplate);
            ++picked;
        }
        ui.Window(WindowId::Main)->close();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(picked, 3);
}

}  // namespace
}  // namespace zelvo::qt
