#include "verification/courier_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "courier_fixtures.h"
#include "courier_simulator.h"
#include "runtime/text.h"

namespace zelvo {
namespace {

using testing::CourierFixture;
using testing::courierFixture;
using testing::courierFixtures;
using testing::CourierSimulator;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes bytesOf(std::u8string_view text) { return Bytes(text.begin(), text.end()); }

void expectResult(const TrackingResult& actual, const TrackingResult& expected) {
    EXPECT_EQ(actual.found, expected.found);
    EXPECT_EQ(actual.fetchFailed, expected.fetchFailed);
    EXPECT_EQ(actual.departureTime, expected.departureTime);
    EXPECT_EQ(actual.departurePlace, expected.departurePlace);
    EXPECT_EQ(actual.receiptTime, expected.receiptTime);
    EXPECT_EQ(actual.receiptPlace, expected.receiptPlace);
}

void expectNoRecord(const TrackingResult& result) { expectResult(result, TrackingResult{}); }

void expectFailed(const TrackingResult& result) {
    TrackingResult failed;
    failed.fetchFailed = true;
    expectResult(result, failed);
}

// None of the four texts ends in half a double-byte character.
void expectWholeCharacters(const TrackingResult& result) {
    for (const std::string* text : {&result.departureTime, &result.departurePlace,
                                    &result.receiptTime, &result.receiptPlace}) {
        EXPECT_EQ(WithoutLoneLeadByte(*text).size(), text->size());
    }
}

TEST(CourierTableTest, HoldsTheSeventeenCouriersInOrder) {
    const char* names[] = {"中通快递",    "源伟快递", "DDS快递",      "申通快递",   "韵达快递",
                           "全一快递",    "顺风快递", "天天快递",     "汇通快递",   "中铁快运",
                           "圆通快递",    "德邦物流", "希伊艾斯CCES", "鑫飞鸿快递", "宅急送快递",
                           "AAE全球专递", "星辰急便"};
    const auto table = courierTable();
    ASSERT_EQ(table.size(), std::size(names));
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(std::string(table[i].name), names[i]) << i;
    }
    ASSERT_EQ(courierFixtures().size(), table.size());
}

TEST(CourierTableTest, NamesMatchByteForByte) {
    EXPECT_NE(findTrackingParser("申通快递"), nullptr);
    EXPECT_EQ(findTrackingParser("申通快递 "), nullptr);
    EXPECT_EQ(findTrackingParser(" 申通快递"), nullptr);
    EXPECT_EQ(findTrackingParser("dds快递"), nullptr);
    EXPECT_EQ(findTrackingParser(""), nullptr);
}

TEST(CourierTableTest, QueryAddresses) {
    const CourierHosts hosts;
    EXPECT_EQ(trackingQueryAddress(*findTrackingParser("中通快递"),
                                   "http://zto.example/q?No=", "123", hosts),
              "http://zto.example/q?No=123");
    // The railway endpoint ignores the rule's prefix.
    EXPECT_EQ(trackingQueryAddress(*findTrackingParser("中铁快运"),
                                   "http://zto.example/q?No=", "123", hosts),
              "http://www.cre.example/creweb/cms/web/Fhwcxselect.jsp?sheet_no=123");
    // The number is used as it stands, blanks and all.
    EXPECT_EQ(trackingQueryAddress(*findTrackingParser("中通快递"), "p=", " 1 ", hosts), "p= 1 ");
}

class CourierFixtureTest : public ::testing::TestWithParam<std::size_t> {
  protected:
    const CourierFixture& fixture() const { return courierFixtures()[GetParam()]; }
};

TEST_P(CourierFixtureTest, RecordPageGivesTheFourTexts) {
    expectResult(parseTrackingPage(fixture().courier, fixture().recordPage), fixture().expected);
}

TEST_P(CourierFixtureTest, NoRecordPageGivesNothing) {
    expectNoRecord(parseTrackingPage(fixture().courier, fixture().noRecordPage));
}

// Every cut-off prefix of a record page, and a page with NUL bytes and
// stray high bytes, parse without fault.
TEST_P(CourierFixtureTest, TruncatedAndGarbagePagesNeverFail) {
    const Bytes& page = fixture().recordPage;
    for (std::size_t length = 0; length <= page.size(); ++length) {
        const Bytes cut(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(length));
        expectWholeCharacters(parseTrackingPage(fixture().courier, cut));
    }
    std::mt19937 random(static_cast<unsigned>(GetParam()));
    for (int round = 0; round < 50; ++round) {
        Bytes garbage = page;
        for (int i = 0; i < 20 && !garbage.empty(); ++i) {
            garbage[random() % garbage.size()] = static_cast<std::uint8_t>(random());
        }
        expectWholeCharacters(parseTrackingPage(fixture().courier, garbage));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCourier, CourierFixtureTest, ::testing::Range<std::size_t>(0, 17));

TEST(CourierPagesTest, UnknownCourierGivesNoRecord) {
    expectNoRecord(parseTrackingPage("申通快递 ", courierFixture("申通快递").recordPage));
}

TEST(CourierPagesTest, YundaWithoutReceiptPlaceHasNotArrived) {
    const std::string page =
        "<table><tr><td align=\"center\" bgcolor=\"#fdd100\">始发网点</td>"
        "<td><a href=\"javascript:site(1)\">深圳(宝安)</a></td></tr></table>\r\n"
        "<table><tr><td>揽件时间</td><td>签收时间</td></tr>\r\n"
        "<tr><td>2010-05-12 10:30 </td><td>2010-05-13 09:00 </td></tr>\r\n"
        "<tr><td>派送中</td><td>揽件</td></tr></table>";
    expectResult(parseTrackingPage("韵达快递", bytesOf(page)),
                 {true, "2010-05-12", "深圳", "", "尚未到达"});
}

TEST(CourierPagesTest, ACutBeginningInsideACharacterKeepsNoHalfCharacterAtItsEnd) {
    // Without its start marker (16 bytes) the place cut begins at byte 15,
    // the second byte of "上"; read from there, the cut's last byte is the
    // first half of a character, and it is dropped.
    const std::string page = "签收人abcdefg上北京</a>";
    const TrackingResult result = parseTrackingPage("汇通快递", bytesOf(page));
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.departurePlace, page.substr(14, 4));
}

TEST(CourierPagesTest, EmptyBytesAreAFailedLookupForEveryCourier) {
    // The absent-test couriers too: no page is no notice, yet no record.
    for (const CourierFixture& fixture : courierFixtures()) {
        SCOPED_TRACE(fixture.number);
        expectFailed(parseTrackingPage(fixture.courier, Bytes{}));
    }
    // A body that came but begins with a NUL byte is a page without a record.
    expectNoRecord(parseTrackingPage("源伟快递", Bytes{0, 'a'}));
}

TEST(CourierPagesTest, AbsentTestCouriersTakeAPageWithoutTheNoticeAsARecord) {
    // Nothing to cut: the year prefixes alone remain.
    expectResult(parseTrackingPage("源伟快递", bytesOf("<html>系统维护中</html>")),
                 {true, "201", "", "20", ""});
    expectResult(parseTrackingPage("AAE全球专递", bytesOf("<html>maintenance</html>")),
                 {true, "20", "", "", ""});
}

TEST(CourierPagesTest, Utf8CouriersCompareAfterConversion) {
    // The GBK form of a record page is no UTF-8: it converts to nothing.
    const std::string gbkPage = "<table><tr><th>跟踪时间</th></tr></table>";
    expectNoRecord(parseTrackingPage("德邦物流", bytesOf(gbkPage)));
    // The UTF-8 no-record notice is found once converted.
    expectNoRecord(parseTrackingPage("AAE全球专递", courierFixture("AAE全球专递").noRecordPage));
    // 德邦物流 stops at the first NUL byte before converting.
    Bytes page = courierFixture("德邦物流").recordPage;
    page.insert(page.begin(), 0);
    expectNoRecord(parseTrackingPage("德邦物流", page));
    // A character GBK cannot carry becomes one byte of its own ("?"), never
    // the first half of a character that would swallow the marker's first
    // byte: "€" is 0x80 in code page 936.
    expectNoRecord(parseTrackingPage("AAE全球专递", bytesOf(u8"<p>€查无此单资料</p>")));
    const CourierFixture& deppon = courierFixture("德邦物流");
    std::u8string withEuro(deppon.recordPage.begin(), deppon.recordPage.end());
    withEuro.insert(withEuro.find(u8"跟踪时间"), u8"€");
    expectResult(parseTrackingPage("德邦物流", bytesOf(withEuro)), deppon.expected);
}

TEST(CourierPagesTest, AaeRowImageIsConfigurable) {
    CourierHosts hosts;
    hosts.aaeRowImage = "http://127.0.0.1/img/bgr.gif";
    const TrackingResult result =
        parseTrackingPage("AAE全球专递", courierFixture("AAE全球专递").recordPage, hosts);
    EXPECT_TRUE(result.found);
    // The place cuts end at the configured address, which the page lacks.
    EXPECT_EQ(result.departurePlace, "");
    EXPECT_EQ(result.receiptTime, "2010-05-14");
}

TEST(CourierPagesTest, NarrowedRecordTestsIgnoreMarkersOutsideTheTable) {
    // 圆通快递's no-record page names the column only below the table.
    expectNoRecord(parseTrackingPage("圆通快递", courierFixture("圆通快递").noRecordPage));
    // 宅急送快递 and 星辰急便 need three cells of their style for a record.
    const std::string twoCells =
        "<td><font color=\"#333333\" size=\"2\"><b>a</b></font></td>"
        "<td><font color=\"#333333\" size=\"2\"><b>b</b></font></td>";
    expectNoRecord(parseTrackingPage("宅急送快递", bytesOf(twoCells)));
}

class LookUpNumberTest : public ::testing::Test {
  protected:
    CourierSimulator simulator;
};

TEST_F(LookUpNumberTest, FetchesAndParsesEveryCourier) {
    for (const CourierFixture& fixture : courierFixtures()) {
        SCOPED_TRACE(fixture.number);
        const std::string prefix = simulator.queryUrlPrefix(fixture.courier);
        expectResult(lookUpNumber(fixture.courier, fixture.number, prefix, simulator.hosts()),
                     fixture.expected);
        expectNoRecord(lookUpNumber(fixture.courier, "999", prefix, simulator.hosts()));
    }
    EXPECT_EQ(simulator.requestCount(), 34);
}

TEST_F(LookUpNumberTest, RailwayUsesItsEndpointNotThePrefix) {
    const CourierFixture& fixture = courierFixture("中铁快运");
    expectResult(lookUpNumber(fixture.courier, fixture.number,
                              "http://127.0.0.1:1/none?no=", simulator.hosts()),
                 fixture.expected);
}

TEST_F(LookUpNumberTest, UnknownCourierFetchesNothing) {
    expectNoRecord(lookUpNumber("申通快递 ", "368609071201", simulator.queryUrlPrefix("申通快递"),
                                simulator.hosts()));
    EXPECT_EQ(simulator.requestCount(), 0);
}

TEST_F(LookUpNumberTest, UnreachableSiteIsAFailedLookup) {
    // Port 1 on the loopback refuses the connection.
    expectFailed(lookUpNumber("中通快递", "368609071201", "http://127.0.0.1:1/q?no="));
    expectFailed(lookUpNumber("源伟快递", "368609071201", "http://127.0.0.1:1/q?no="));
}

}  // namespace
}  // namespace zelvo
