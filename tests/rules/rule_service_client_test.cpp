#include "rules/rule_service_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "../results/temp_folder.h"
#include "config/config.h"
#include "local_rule_server.h"
#include "local_servers.h"
#include "rules/rule_source.h"
#include "runtime/datetime.h"
#include "runtime/files.h"

namespace zelvo {
namespace {

const std::string kList =
    "中通快递|1|2|3|4|5|20110101|6|{固数1}|参考|http://a.example/?No=|x\r\n"
    "圆通快递|1|2|3|4|5|20110101|6|{固数1}|参考|http://b.example/?No=|y\r\n";

TEST(RuleServiceClient, WithoutAnAddressDeliversTheBuiltInRecord) {
    RuleServiceClient client("");
    EXPECT_FALSE(client.isOpen());
    client.close();  // harmless while not open
    EXPECT_EQ(client.fetchRuleList(), "") << "not open";
    client.open();
    EXPECT_EQ(client.fetchRuleList(), std::string(config::kBuiltInRuleRecord) + "\r\n");
    client.close();
    client.close();
    EXPECT_EQ(client.fetchRuleList(), "");
}

TEST(RuleServiceClient, TheBuildSettingIsTheDefaultAddress) {
    EXPECT_EQ(DefaultRuleSourceAddress(), ZELVO_TEST_RULE_SOURCE_URL);
}

TEST(RuleServiceClient, FetchesTheListFromALocalSource) {
    testing::LocalRuleServer server;
    server.reply(kList);
    RuleServiceClient client(server.address());
    client.open();
    EXPECT_EQ(client.fetchRuleList(), kList);
    EXPECT_EQ(server.requests(), 1);
    server.reply("");
    EXPECT_EQ(client.fetchRuleList(), "");
}

TEST(RuleServiceClient, ASourceThatNeverAnswersGivesTheEmptyTextAfterTheLimit) {
    testing::LocalRuleServer server;
    server.reply(kList);
    server.hold();
    RuleServiceClient client(server.address(), {}, 300);
    client.open();
    std::uint32_t start = TickCount();
    EXPECT_EQ(client.fetchRuleList(), "");
    EXPECT_GE(TickCount() - start, 300u);
    server.release();
    // The abandoned request does not disturb the next one.
    EXPECT_EQ(client.fetchRuleList(), kList);
}

TEST(RuleServiceClient, ASourceThatTricklesIsCutOffAtTheLimit) {
    testing::LocalRuleServer server;
    server.hold();
    RuleServiceClient client(server.address("/trickle"), {}, 300);
    client.open();
    std::uint32_t start = TickCount();
    EXPECT_EQ(client.fetchRuleList(), "");
    EXPECT_GE(TickCount() - start, 300u);
    EXPECT_EQ(server.requests(), 1);
    server.release();
}

TEST(RuleServiceClient, AnUnreachableSourceGivesTheEmptyText) {
    std::string address;
    {
        testing::LocalRuleServer gone;
        address = gone.address();
    }
    RuleServiceClient client(address, {}, 10'000);
    client.open();
    EXPECT_EQ(client.fetchRuleList(), "");
}

Bytes AsBody(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(RuleServiceClient, RepliesWithoutARecordTooBigOrCutAtANul) {
    const std::string record = std::string(config::kBuiltInRuleRecord);
    const std::size_t limit = RuleServiceClient::kMaxReplyBytes;
    const std::string atLimit = record + "\r\n" + std::string(limit - record.size() - 2, 'a');
    struct Case {
        const char* what;
        RuleServiceClient::Fetch fetch;
        std::string expected;
    } cases[] = {
        {"at the limit", [&](std::string_view) { return AsBody(atLimit); }, atLimit},
        {"beyond the limit", [&](std::string_view) { return AsBody(atLimit + "a"); }, ""},
        {"throws", [](std::string_view) -> Bytes { throw std::runtime_error("x"); }, ""},
        {"NUL inside",
         [&](std::string_view) { return AsBody(record + "\r\nx" + std::string(1, '\0') + "y"); },
         record + "\r\nx"},
        {"an error page",
         [](std::string_view) { return AsBody("<html><body>404 Not Found</body></html>"); }, ""},
        {"garbage only",
         [](std::string_view) {
             return Bytes{0xFF, 0xFE, '|', 0x81};
         },
         ""},
        {"garbage beside a record",
         [&](std::string_view) { return AsBody("\xFF\xFE|\x81\x40\r\n" + record); },
         "\xFF\xFE|\x81\x40\r\n" + record},
    };
    for (Case& c : cases) {
        RuleServiceClient client("http://rules.example/", c.fetch);
        client.open();
        EXPECT_EQ(client.fetchRuleList(), c.expected) << c.what;
    }
}

TEST(RuleServiceClient, AsksTheAddressItWasGiven) {
    std::string asked;
    RuleServiceClient client("http://rules.example/list", [&](std::string_view address) {
        asked = address;
        return AsBody(kList);
    });
    client.open();
    EXPECT_EQ(client.fetchRuleList(), kList);
    EXPECT_EQ(asked, "http://rules.example/list");
}

TEST(RuleSource, HttpAndHttpsAddressesAreFetchedEverythingElseIsAFile) {
    for (const char* address : {"http://a.example/", "https://a.example/", "HTTP://A.EXAMPLE/"}) {
        EXPECT_TRUE(IsRuleSourceAddress(address)) << address;
    }
    for (const char* file : {"/tmp/rules.txt", "rules.txt", "http:/a", "ftp://a.example/", "http",
                             "C:\\rules.txt", ""}) {
        EXPECT_FALSE(IsRuleSourceAddress(file)) << file;
    }
}

// A local file goes through the checks of a reply, and is read anew at each
// fetch, as the rule source is asked anew.
TEST(RuleServiceClient, AFileSourceIsReadThroughTheSameChecks) {
    testing::TempFolder folder;
    const std::string path = folder.path() + "/rules.txt";
    RuleServiceClient client(path);
    client.open();
    EXPECT_EQ(client.fetchRuleList(), "") << "no file yet";
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes(kList)}));
    EXPECT_EQ(client.fetchRuleList(), kList);
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes("<html>404</html>")}));
    EXPECT_EQ(client.fetchRuleList(), "");
    ASSERT_TRUE(WriteFileBytes(path, {AsBytes(kList + std::string(1, '\0') + "tail")}));
    EXPECT_EQ(client.fetchRuleList(), kList);
}

TEST(RuleServiceClient, ASourceNamedAtStartReplacesTheBuildSetting) {
    testing::LocalRuleServer server;
    server.reply(kList);
    RuleServiceClient client("");
    client.setSource(server.address());
    client.open();
    EXPECT_EQ(client.fetchRuleList(), kList);
    EXPECT_EQ(server.requests(), 1);
}

TEST(RuleServiceClient, AnErrorPageFromTheSourceIsAFailedExchange) {
    testing::LocalRuleServer server;
    server.reply("<html><head><title>500</title></head><body>Internal error</body></html>");
    RuleServiceClient client(server.address());
    client.open();
    EXPECT_EQ(client.fetchRuleList(), "");
    EXPECT_EQ(server.requests(), 1);
}

// A list that does not arrive whole would pass for a shorter good one: one
// cut at the size cap, or broken off when the connection drops, is a failed
// exchange. The cap is the rule list's own, whatever fetched last.
TEST(RuleServiceClient, AListThatDidNotArriveWholeIsAFailedExchange) {
    std::string twoMiB, seventeenMiB;
    while (twoMiB.size() < 2u * 1024 * 1024) twoMiB += kList;
    while (seventeenMiB.size() < 17u * 1024 * 1024) seventeenMiB += kList;
    testing::RawServer server([&](testing::RawConnection& connection, const std::string& head) {
        if (head.rfind("GET /dropped", 0) == 0) {
            connection.send("HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(twoMiB.size()) +
                            "\r\n\r\n" + twoMiB.substr(0, twoMiB.size() / 2));
            connection.resetAtEnd();
        } else {
            connection.respond(200, head.rfind("GET /huge", 0) == 0 ? seventeenMiB : twoMiB);
        }
    });
    const struct {
        const char* path;
        bool whole;
    } cases[] = {{"/huge", false}, {"/dropped", false}, {"/two-mib", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        RuleServiceClient client(server.url(c.path));
        client.open();
        const std::string list = client.fetchRuleList();
        EXPECT_EQ(list.size(), c.whole ? twoMiB.size() : 0u);
    }
}

}  // namespace
}  // namespace zelvo
