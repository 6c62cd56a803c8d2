#include "verification/verification_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "courier_fixtures.h"
#include "courier_simulator.h"
#include "local_servers.h"
#include "memory_ui.h"
#include "runtime/http.h"
#include "runtime/text.h"
#include "verification/work_pool.h"

namespace zelvo {
namespace {

using testing::CourierSimulator;
using testing::MemoryUi;
using testing::RawConnection;
using testing::RawServer;
using testing::RefusingPort;

constexpr WindowId kMain = WindowId::Main;
constexpr const char* kList = "超级列表框1";
constexpr const char* kEndMessage =
    "全部效验完毕,如果还没有找到你想要的单号,请百度或者朋友要个最新的单号进行模拟!";
constexpr int kIdleTimeoutMs = 60000;
// "About a second" to abandon a fetch, with room for a loaded machine and the
// sanitizers.
constexpr int kAbandonLimitMs = 3000;

// Polls a condition that must come true; the limit only guards against a hang.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int waited = 0; !condition(); ++waited) {
        if (waited > 20000) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::multiset<std::string> linesOf(const std::string& text) {
    const std::vector<std::string> lines = SplitText(text, "\r\n");
    return {lines.begin(), lines.end()};
}

std::vector<std::string> numbered(const std::string& head, int from, int count) {
    std::vector<std::string> numbers;
    for (int i = from; i < from + count; ++i) {
        numbers.push_back(head + std::to_string(1000 + i));
    }
    return numbers;
}

class VerificationRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.SetEventHandler([this](const UiEvent& event) {
            if (event.kind != EventKind::Clicked) return;
            if (event.control == "按钮6") {
                run.startVerification(ui, pool, prefix);
            } else if (event.control == "按钮11") {
                run.requestStop(ui, pool);
            }
        });
        ASSERT_TRUE(ui.LoadWindow(kMain, false));
        run.setCourierHosts(simulator.hosts());
        useCourier("中通快递");
        ui.SetText(kMain, "效验线程", "30");
    }

    void TearDown() override {
        simulator.release();
        EXPECT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    }

    void useCourier(const std::string& courier) {
        ui.SetText(kMain, "快递类型", courier);
        prefix = simulator.queryUrlPrefix(courier);
    }

    std::vector<std::vector<std::string>> rows() {
        std::vector<std::vector<std::string>> all;
        for (int row = 0; row < ui.ListCount(kMain, kList); ++row) {
            all.push_back(ui.listRow(kMain, kList, row));
        }
        return all;
    }

    int endMessages() {
        const auto messages = ui.messages();
        return static_cast<int>(std::count_if(messages.begin(), messages.end(), [](const auto& m) {
            return m.text == kEndMessage && m.caption == "提示" && m.flags == kIconInformation;
        }));
    }

    // Declared first so that it outlives the pool and the run.
    CourierSimulator simulator;
    MemoryUi ui;
    WorkPool pool;
    VerificationRun run;
    std::string prefix;
};

TEST_F(VerificationRunTest, VerifiesEveryLineWithThirtyWorkers) {
    std::vector<std::string> numbers = numbered("36860907", 0, 60);
    std::set<std::string> records;
    for (std::size_t i = 0; i < numbers.size(); i += 3) {
        simulator.addRecord("中通快递", numbers[i]);
        records.insert(numbers[i]);
    }
    // The second line is empty: it is looked up as the bare prefix.
    numbers.insert(numbers.begin() + 1, "");
    ui.SetText(kMain, "生成内容", joinLines(numbers));

    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));

    const auto all = rows();
    ASSERT_EQ(all.size(), records.size());
    std::set<std::string> seen;
    for (std::size_t r = 0; r < all.size(); ++r) {
        ASSERT_EQ(all[r].size(), 6u);
        EXPECT_EQ(all[r][0], std::to_string(r + 1));
        EXPECT_TRUE(records.count(all[r][1])) << all[r][1];
        seen.insert(all[r][1]);
        // "2010-05-12 10:30:00": the time of day is dropped.
        EXPECT_EQ(all[r][2], "2010年5月12日");
        EXPECT_EQ(all[r][3], "深圳");
        EXPECT_EQ(all[r][4], "2010年5月14日");
        EXPECT_EQ(all[r][5], "上海");
    }
    EXPECT_EQ(seen, records);

    std::multiset<std::string> blanks;
    for (const std::string& number : numbers) {
        if (!records.count(number)) blanks.insert(number);
    }
    const std::string blankText = run.blankNumbers();
    EXPECT_EQ(linesOf(blankText), blanks);
    EXPECT_EQ(blankText.size(), joinLines({blanks.begin(), blanks.end()}).size());

    const std::vector<std::string> requested = simulator.requestedNumbers();
    EXPECT_EQ(requested.size(), numbers.size());
    EXPECT_EQ(std::count(requested.begin(), requested.end(), ""), 1);

    EXPECT_EQ(ui.ProgressMax(kMain, "进度条1"), static_cast<int>(numbers.size()));
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_EQ(endMessages(), 1);
    EXPECT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    EXPECT_EQ(run.runNumbers(), numbers);
}

TEST_F(VerificationRunTest, RunWithoutRecordsEndsWithTheButtonEnabled) {
    const std::vector<std::string> numbers = numbered("11", 0, 12);
    // A trailing line break adds no empty number.
    ui.SetText(kMain, "生成内容", joinLines(numbers));
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));

    EXPECT_EQ(ui.ListCount(kMain, kList), 0);
    EXPECT_EQ(linesOf(run.blankNumbers()), linesOf(joinLines(numbers)));
    EXPECT_EQ(simulator.requestCount(), 12);
    EXPECT_EQ(endMessages(), 1);
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
}

TEST_F(VerificationRunTest, PlacesLoseLineBreaksAndBlanks) {
    const std::string page =
        "签收人<table><tr><th>跟踪记录</th></tr>"
        "<tr><td>2010-05-12\r\n</td><td><font color=#FF0000>\r\n 深圳 \r\n</font></td></tr>"
        // A nested line break too: one left in a cell would split its row in
        // a saved result file.
        "<tr><td>201x</td><td><font color=#FF0000>上\r\r\n\n海</font></td></tr>"
        "</table>";
    simulator.setPage("中通快递", "5", Bytes(page.begin(), page.end()));
    ui.SetText(kMain, "生成内容", "5");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    ASSERT_EQ(ui.ListCount(kMain, kList), 1);
    EXPECT_EQ(ui.listRow(kMain, kList, 0),
              (std::vector<std::string>{"1", "5", "2010年5月12日", "深圳", "100年1月1日", "上海"}));
}

// Numbers up to 5 get a no-record page at once; any other gets no answer.
void AnswerTheFirstFive(RawConnection& connection, const std::string& head) {
    const std::size_t at = head.find("no=");
    const int number = at == std::string::npos ? 0 : std::atoi(head.c_str() + at + 3);
    if (number >= 1 && number <= 5) {
        connection.send("HTTP/1.0 200 OK\r\n\r\n<html>no such number</html>");
    } else {
        connection.holdUntilClosed();
    }
}

TEST_F(VerificationRunTest, StopAbandonsTheFetchesInFlightAndKeepsWhatWasDone) {
    RawServer site(AnswerTheFirstFive);
    prefix = site.url("/q?no=");
    ui.SetText(kMain, "效验线程", "3");
    std::vector<std::string> numbers;
    for (int i = 1; i <= 100; ++i) numbers.push_back(std::to_string(i));
    ui.SetText(kMain, "生成内容", joinLines(numbers));
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    // Five numbers done, three workers waiting on a silent site.
    ASSERT_TRUE(Eventually(
        [&] { return site.connections() == 8 && ui.ProgressPos(kMain, "进度条1") == 5; }));

    ASSERT_TRUE(ui.click(kMain, "按钮11"));
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    EXPECT_TRUE(run.stopRequested());
    // The stall time-out is 30 s: only abandoning the fetches ends them this soon.
    EXPECT_TRUE(run.waitUntilIdle(kAbandonLimitMs));

    EXPECT_EQ(site.connections(), 8);
    EXPECT_EQ(linesOf(run.blankNumbers()), linesOf("1\r\n2\r\n3\r\n4\r\n5\r\n"));
    EXPECT_EQ(ui.ListCount(kMain, kList), 0);
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 5);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(VerificationRunTest, NewRunRetiresTheEarlierRunsTasks) {
    ui.SetText(kMain, "效验线程", "2");
    const std::vector<std::string> first = numbered("33", 0, 50);
    for (const std::string& number : first) simulator.addRecord("中通快递", number);
    ui.SetText(kMain, "生成内容", joinLines(first));
    simulator.hold();
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(simulator.waitForHeld(2));

    // The recent-number window starts a run whatever the button says.
    const std::vector<std::string> second = numbered("44", 0, 8);
    std::set<std::string> records;
    for (std::size_t i = 0; i < second.size(); i += 2) {
        simulator.addRecord("中通快递", second[i]);
        records.insert(second[i]);
    }
    ui.SetText(kMain, "效验线程", "4");
    ui.SetText(kMain, "生成内容", joinLines(second));
    run.startVerification(ui, pool, prefix);
    simulator.release();
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));

    // Only the first run's two numbers in flight were fetched, and they left
    // no trace in the second run.
    EXPECT_EQ(simulator.requestCount(), 2 + 8);
    const auto all = rows();
    ASSERT_EQ(all.size(), records.size());
    for (std::size_t r = 0; r < all.size(); ++r) {
        EXPECT_EQ(all[r][0], std::to_string(r + 1));
        EXPECT_TRUE(records.count(all[r][1])) << all[r][1];
    }
    std::multiset<std::string> blanks;
    for (const std::string& number : second) {
        if (!records.count(number)) blanks.insert(number);
    }
    EXPECT_EQ(linesOf(run.blankNumbers()), blanks);
    EXPECT_EQ(ui.ProgressMax(kMain, "进度条1"), 8);
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_EQ(endMessages(), 1);
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
}

TEST_F(VerificationRunTest, ZeroNumbersEndAtOnce) {
    ui.SetText(kMain, "生成内容", "");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    EXPECT_EQ(ui.ProgressMax(kMain, "进度条1"), 0);
    EXPECT_EQ(ui.ListCount(kMain, kList), 0);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(simulator.requestCount(), 0);
}

TEST_F(VerificationRunTest, EmptyOrUnknownCourierIsRefusedBeforeAnythingChanges) {
    // A finished run leaves a row, blank numbers and a progress position.
    simulator.addRecord("中通快递", "1");
    ui.SetText(kMain, "生成内容", "1\r\n2\r\n");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    ui.SetProgressPos(kMain, "进度条1", 1);
    const std::string choose = "\r\n请点击\"选择模板\"选一个快递公司的模板。";

    const struct {
        const char* courier;
        std::string message;
    } cases[] = {
        {"", "对不起类型不能为空" + choose},
        // A trailing space: no courier of that name.
        {"中通快递 ", "对不起,不认识快递类型\"中通快递 \",无法查询它的单号。" + choose},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.courier);
        ui.clearMessages();
        ui.SetText(kMain, "快递类型", c.courier);
        ui.SetText(kMain, "生成内容", "3\r\n4");
        ASSERT_TRUE(ui.click(kMain, "按钮6"));
        ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, c.message);
        EXPECT_EQ(ui.messages()[0].caption, "对不起");
        EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
        EXPECT_EQ(rows().size(), 1u);
        EXPECT_EQ(run.blankNumbers(), "2\r\n");
        EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 1);
        EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
        EXPECT_EQ(run.runNumbers(), (std::vector<std::string>{"1", "2"}));
    }
    EXPECT_EQ(simulator.requestCount(), 2);
}

// What one number's lookup came to, as the windows and the blank list show it.
enum class Outcome { Row, Blank, Failed };

std::string text(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

// A tracking site in the ways it fails under load. Every broken answer
// carries the whole record page, so only knowing how the transfer ended
// keeps it from becoming a row.
void Misbehave(RawConnection& connection, const std::string& head) {
    const auto& zto = testing::courierFixture("中通快递");
    const std::string page = text(zto.recordPage);
    const std::string promised =
        "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(page.size() + 500) + "\r\n\r\n";
    const auto asked = [&head](const char* path) { return head.find(path) != std::string::npos; };
    if (asked("/reset")) {
        connection.send(promised + page);
        connection.resetAtEnd();
    } else if (asked("/short")) {
        connection.send(promised + page);
    } else if (asked("/broken-chunks")) {
        char size[16];
        std::snprintf(size, sizeof size, "%zx\r\n", page.size());
        connection.send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                        std::string(size) + page + "\r\n");
    } else if (asked("/stall")) {
        connection.send(promised + page);
        connection.holdUntilClosed();
    } else if (asked("/long")) {
        // Beyond the tracking-page cap: read up to the cap, the record is at the top.
        connection.respond(200, page + std::string(2 * 1024 * 1024, ' '));
    } else if (asked("/status")) {
        const int status = std::stoi(head.substr(head.find("/status") + 7, 3));
        connection.respond(status, status == 404 ? text(zto.noRecordPage) : page);
    } else {
        connection.holdUntilClosed();
    }
}

TEST_F(VerificationRunTest, OnlyAWholeTrackingPageMakesARowOrABlankNumber) {
    HttpLimits limits;
    limits.connectTimeoutMs = 1000;
    limits.stallSeconds = 1;
    SetHttpLimits(limits);
    RefusingPort refusing;
    RawServer faulty(Misbehave);
    simulator.addRecord("中通快递", "7");
    const std::string failedLines =
        "\r\n另有1个单号查询失败(查询网页没有打开),既不在结果列表中,也不在空白定单中。"
        "\r\n是否重新查询这1个单号?(已有的结果和空白定单都保留)";

    struct Case {
        const char* name;
        const char* courier;
        std::string prefix;
        Outcome expected;
    };
    const Case cases[] = {
        {"record page", "中通快递", simulator.queryUrlPrefix("中通快递"), Outcome::Row},
        {"no-record page", "中通快递", simulator.queryUrlPrefix("中通快递") + "0", Outcome::Blank},
        {"notice page", "AAE全球专递", simulator.queryUrlPrefix("AAE全球专递"), Outcome::Blank},
        {"200 record page", "中通快递", faulty.url("/status200?no="), Outcome::Row},
        {"404 no-record page", "中通快递", faulty.url("/status404?no="), Outcome::Blank},
        {"page beyond the cap", "中通快递", faulty.url("/long?no="), Outcome::Row},
        {"reset mid-body", "中通快递", faulty.url("/reset?no="), Outcome::Failed},
        {"short body", "中通快递", faulty.url("/short?no="), Outcome::Failed},
        {"broken chunked body", "中通快递", faulty.url("/broken-chunks?no="), Outcome::Failed},
        {"stall mid-body", "中通快递", faulty.url("/stall?no="), Outcome::Failed},
        {"500", "中通快递", faulty.url("/status500?no="), Outcome::Failed},
        {"503", "中通快递", faulty.url("/status503?no="), Outcome::Failed},
        {"429", "中通快递", faulty.url("/status429?no="), Outcome::Failed},
        {"refused", "中通快递", refusing.url("/q?no="), Outcome::Failed},
        {"refused, absent-notice courier", "AAE全球专递", refusing.url("/q?no="), Outcome::Failed},
        {"silent", "中通快递", faulty.url("/silent?no="), Outcome::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearMessages();
        useCourier(c.courier);
        prefix = c.prefix;
        ui.SetText(kMain, "生成内容", "7");
        ASSERT_TRUE(ui.click(kMain, "按钮6"));
        ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));

        EXPECT_EQ(ui.ListCount(kMain, kList), c.expected == Outcome::Row ? 1 : 0);
        EXPECT_EQ(run.blankNumbers(), c.expected == Outcome::Blank ? "7\r\n" : "");
        EXPECT_EQ(run.failedNumbers().size(), c.expected == Outcome::Failed ? 1u : 0u);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text,
                  kEndMessage + (c.expected == Outcome::Failed ? failedLines : std::string()));
        // Unanswered, the question is answered 否: nothing is looked up again.
        EXPECT_EQ(ui.messages()[0].flags,
                  c.expected == Outcome::Failed ? kIconInformation | kYesNo : kIconInformation);
        EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    }
    SetHttpLimits(HttpLimits{});
}

// 2,000 numbers, a fifth of whose first answers fail in every way a busy
// site fails: each number ends exactly once as a row, a blank number or a
// failed lookup, and the failed ones are those the simulator spoilt. On 是
// the run goes on with them alone, and then every number is a row or blank.
TEST_F(VerificationRunTest, SoakAccountsForEveryNumberAndLooksTheFailedOnesUpAgain) {
    // Room for a good answer on a loaded machine (WinINet's receive
    // time-out also counts the wait for the head), yet the stalls (about 60,
    // 30 at a time) add only seconds.
    HttpLimits limits;
    limits.stallSeconds = 10;
    SetHttpLimits(limits);
    const std::vector<std::string> numbers = numbered("5", 0, 2000);
    std::set<std::string> records;
    for (std::size_t i = 0; i < numbers.size(); i += 3) {
        simulator.addRecord("中通快递", numbers[i]);
        records.insert(numbers[i]);
    }
    simulator.setFaultShare(0.2, 20);
    ui.SetText(kMain, "生成内容", joinLines(numbers));

    struct Pass {
        std::multiset<std::string> rows, blanks, failed;
        int progress = 0;
    };
    std::vector<Pass> passes;
    ui.onMessage([&](const MemoryUi::MessageRecord&) {
        Pass pass;
        for (int row = 0; row < ui.ListCount(kMain, kList); ++row) {
            pass.rows.insert(ui.ListGetText(kMain, kList, row, 1));
        }
        pass.blanks = linesOf(run.blankNumbers());
        const std::vector<std::string> failed = run.failedNumbers();
        pass.failed = {failed.begin(), failed.end()};
        pass.progress = ui.ProgressPos(kMain, "进度条1");
        passes.push_back(pass);
        return passes.size() == 1 ? kResultYes : kResultOk;
    });
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs * 3));
    SetHttpLimits(HttpLimits{});

    const std::map<std::string, testing::SimulatedFault> spoilt = simulator.faults();
    ASSERT_EQ(passes.size(), 2u);
    const auto accountedOnce = [&](const Pass& pass) {
        std::multiset<std::string> all = pass.rows;
        all.insert(pass.blanks.begin(), pass.blanks.end());
        all.insert(pass.failed.begin(), pass.failed.end());
        return all == std::multiset<std::string>(numbers.begin(), numbers.end());
    };
    const Pass& first = passes[0];
    EXPECT_TRUE(accountedOnce(first));
    EXPECT_EQ(first.progress, 2000);
    std::multiset<std::string> spoiltNumbers;
    std::set<testing::SimulatedFault> kinds;
    for (const auto& [number, fault] : spoilt) {
        spoiltNumbers.insert(number);
        kinds.insert(fault);
    }
    std::vector<std::string> unexplained;
    std::set_symmetric_difference(first.failed.begin(), first.failed.end(), spoiltNumbers.begin(),
                                  spoiltNumbers.end(), std::back_inserter(unexplained));
    EXPECT_EQ(unexplained, std::vector<std::string>{}) << "failed, or spoilt, but not both";
    EXPECT_EQ(kinds.size(), 7u);
    for (const std::string& row : first.rows) EXPECT_TRUE(records.count(row) && !spoilt.count(row));
    std::cout << "soak: " << first.rows.size() << " rows + " << first.blanks.size() << " blank + "
              << first.failed.size() << " failed = " << numbers.size() << "; then ";

    const Pass& second = passes[1];
    EXPECT_TRUE(accountedOnce(second));
    EXPECT_TRUE(second.failed.empty());
    EXPECT_EQ(second.rows, std::multiset<std::string>(records.begin(), records.end()));
    EXPECT_EQ(second.blanks.size(), numbers.size() - records.size());
    EXPECT_EQ(second.progress, 2000);
    std::cout << second.rows.size() << " rows + " << second.blanks.size() << " blank + "
              << second.failed.size() << " failed\n";

    const auto messages = ui.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].flags, kIconInformation | kYesNo);
    EXPECT_NE(messages[0].text.find("另有" + std::to_string(spoilt.size()) + "个单号查询失败"),
              std::string::npos);
    EXPECT_EQ(messages[1].text, kEndMessage);
    EXPECT_EQ(simulator.requestCount(), static_cast<int>(numbers.size() + spoilt.size()));
    EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 0);
    EXPECT_EQ(ui.ProgressMax(kMain, "进度条1"), 2000);
    EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    for (int row = 0; row < ui.ListCount(kMain, kList); ++row) {
        EXPECT_EQ(ui.ListGetText(kMain, kList, row, 0), std::to_string(row + 1));
    }
}

TEST_F(VerificationRunTest, ThreadCountAboveTheLimitIsRefusedBeforeAnythingChanges) {
    simulator.addRecord("中通快递", "1");
    ui.SetText(kMain, "生成内容", "1\r\n2");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    ui.clearMessages();
    ui.SetProgressPos(kMain, "进度条1", 1);

    // 4294967297 is 1 once wrapped at 32 bits; the number typed is what counts.
    for (const char* threads : {"201", "2000000000", "99999999999", "4294967297"}) {
        SCOPED_TRACE(threads);
        ui.SetText(kMain, "效验线程", threads);
        ui.SetText(kMain, "生成内容", "3\r\n4");
        ASSERT_TRUE(ui.click(kMain, "按钮6"));
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, "效验线程不能超过200个,请改小后再验证。");
        EXPECT_EQ(ui.messages()[0].caption, "对不起");
        EXPECT_EQ(ui.messages()[0].flags, kIconInformation);
        ui.clearMessages();
        EXPECT_EQ(rows().size(), 1u);
        EXPECT_EQ(run.blankNumbers(), "2\r\n");
        EXPECT_EQ(ui.ProgressPos(kMain, "进度条1"), 1);
        EXPECT_TRUE(ui.IsEnabled(kMain, "按钮6"));
    }
    EXPECT_EQ(simulator.requestCount(), 2);

    ui.SetText(kMain, "效验线程", "200");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    EXPECT_EQ(pool.threadCount(), 200);
    EXPECT_EQ(simulator.requestCount(), 4);
}

TEST_F(VerificationRunTest, ThreadCountThatIsNoNumberRunsOneWorker) {
    ui.SetText(kMain, "效验线程", "abc");
    ui.SetText(kMain, "生成内容", "1\r\n2\r\n3");
    ASSERT_TRUE(ui.click(kMain, "按钮6"));
    ASSERT_TRUE(run.waitUntilIdle(kIdleTimeoutMs));
    EXPECT_EQ(pool.threadCount(), 1);
    EXPECT_EQ(simulator.requestCount(), 3);
    EXPECT_EQ(endMessages(), 1);
}

}  // namespace
}  // namespace zelvo
