#include "rules/rule_service_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "app/config.h"
#include "local_rule_server.h"
#include "runtime/datetime.h"

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

TEST(RuleServiceClient, BadRepliesGiveTheEmptyTextOrAreCutAtANul) {
    struct Case {
        const char* what;
        RuleServiceClient::Fetch fetch;
        std::string expected;
    } cases[] = {
        {"huge", [](std::string_view) { return Bytes(RuleServiceClient::kMaxReplyBytes + 1, 'a'); },
         ""},
        {"at the limit",
         [](std::string_view) { return Bytes(RuleServiceClient::kMaxReplyBytes, 'a'); },
         std::string(RuleServiceClient::kMaxReplyBytes, 'a')},
        {"throws", [](std::string_view) -> Bytes { throw std::runtime_error("x"); }, ""},
        {"NUL inside",
         [](std::string_view) {
             return Bytes{'a', '|', 0, 'b'};
         },
         "a|"},
        {"garbage",
         [](std::string_view) {
             return Bytes{0xFF, 0xFE, '|', 0x81};
         },
         "\xFF\xFE|\x81"},
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
        return Bytes{'o', 'k'};
    });
    client.open();
    EXPECT_EQ(client.fetchRuleList(), "ok");
    EXPECT_EQ(asked, "http://rules.example/list");
}

}  // namespace
}  // namespace zelvo
