#include "verification/courier_table.h"

#include <array>

#include "runtime/convert.h"
#include "runtime/encoding.h"
#include "runtime/http.h"
#include "runtime/text.h"
#include "verification/tracking_parser.h"

namespace zelvo {
namespace {

using S = Slot;

// A tracking page is well under 1 MiB; a longer answer is no tracking page
// and is cut here, so that the workers of a run hold at most a few MiB each.
// Only tracking fetches keep to it.
constexpr std::size_t kTrackingPageCap = std::size_t{1024} * 1024;

// target := prefix + cut of the current page.
constexpr ParseStep take(Slot target, std::string_view prefix, std::string_view start,
                         std::string_view end, int mode) {
    ParseStep step;
    step.target = target;
    step.prefix = prefix;
    step.start = start;
    step.end = end;
    step.mode = mode;
    return step;
}

// target := cut of another text.
constexpr ParseStep takeFrom(Slot target, Slot source, std::string_view prefix,
                             std::string_view start, std::string_view end, int mode) {
    ParseStep step = take(target, prefix, start, end, mode);
    step.source = source;
    return step;
}

// page := cut of the page.
constexpr ParseStep narrow(std::string_view start, std::string_view end, int mode) {
    return take(S::Page, {}, start, end, mode);
}

constexpr ParseStep cleaned(ParseStep step) {
    step.clean = true;
    return step;
}

constexpr ParseStep afterLast(ParseStep step, std::string_view marker) {
    step.afterLast = marker;
    return step;
}

constexpr ParseStep toAaeRowImage(ParseStep step) {
    step.endIsAaeRowImage = true;
    return step;
}

constexpr ParseStep notYetArrived() {
    ParseStep step;
    step.kind = StepKind::NotYetArrived;
    return step;
}

// The tables keep one step and one courier per line.
// clang-format off
constexpr std::string_view kZjsCell = "font color=\"#333333\" size=\"2\"><b>";
constexpr std::string_view kXingchenCell = "</b></font></td>";

constexpr std::array kZhongtong{
    narrow("跟踪记录</th>", "</table>", 0),
    take(S::DepartureTime, "201", ">201", "</td>", 1),
    take(S::DeparturePlace, {}, "><font color=#FF0000>", "</font>", 1),
    take(S::ReceiptTime, "201", ">201", "</td><td", 3),
    take(S::ReceiptPlace, {}, "><font color=#FF0000>", "</font>", 3),
};

constexpr std::array kYuanwei{
    take(S::DepartureTime, "201", ">201", "</div>", 1),
    take(S::DeparturePlace, {}, "onMouseOut=\"toolTip()\">", "</span></", 1),
    take(S::ReceiptTime, "20", ">\r\n20", " ", 3),
    take(S::ReceiptPlace, {}, "快件到达", "onMouseOut=", 2),
    takeFrom(S::ReceiptPlace, S::ReceiptPlace, {}, "onMouseOut=\"toolTip()\">", "</span>站", 3),
};

constexpr std::array kDds{
    take(S::DepartureTime, "201", ">201", " ", 1),
    take(S::DeparturePlace, {}, "【</span><font color=\"#ff0000\">", "</font><span ", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "STYLE8\">【</span><font color=\"#ff0000\">", "</font><", 3),
};

constexpr std::array kShentong{
    take(S::DepartureTime, "201", "\r\n                201", " ", 1),
    take(S::DeparturePlace, {}, "target=\"new\">", "</a>", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "target=\"new\">", "</a>", 3),
};

constexpr std::array kYunda{
    take(S::DeparturePlace, {}, ")\">", "(", 0),
    narrow("签收时间</td>", "揽件</td>", 0),
    take(S::DepartureTime, "201", ">201", " ", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "STYLE5 ttr\">", "</div>", 1),
    notYetArrived(),
};

constexpr std::array kQuanyi{
    cleaned(take(S::DepartureTime, {}, "15px\">", "</td>", 1)),
    cleaned(take(S::DeparturePlace, {}, "<td align=\"center\" style=\"height: 15px\">", "</td>", 1)),
    take(S::ReceiptTime, "20", "20", "\r\n", 3),
    cleaned(take(S::ReceiptPlace, {}, "<td align=\"center\" style=\"height: 15px\">", "货件到达", 2)),
};

constexpr std::array kShunfeng{
    narrow("监控记录", "签收人是", 0),
    take(S::DepartureTime, "201", ">201", "&nbsp", 1),
    take(S::DeparturePlace, {}, "<font color='#FF6600'>", "</font>", 1),
    take(S::ReceiptTime, "20", "> 20", " ", 3),
    afterLast(take(S::ReceiptPlace, {}, "快件离开<font color=", "</font>", 3), ">"),
};

constexpr std::array kTiantian{
    take(S::DepartureTime, "201", ">201", " ", 1),
    take(S::DeparturePlace, {}, "资料\">", "<", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "资料\">", "</a></", 3),
};

constexpr std::array kHuitong{
    take(S::DepartureTime, {}, "<!-- 日期 -->", " ", 1),
    take(S::DeparturePlace, {}, "color=\"#FF0000\">", "</a>", 1),
    // The date marker is followed by the four-digit year, as the departure
    // cut shows; a "20" in front would make 2010 read as 202010.
    take(S::ReceiptTime, {}, "<!-- 日期 -->", " ", 3),
    take(S::ReceiptPlace, {}, "录入站点", "派送人为", 3),
    takeFrom(S::ReceiptPlace, S::ReceiptPlace, {}, "[", "]", 1),
};

constexpr std::array kZhongtie{
    take(S::DeparturePlace, {}, "color=\"#FF0000\">", "</a>", 1),
    take(S::DepartureTime, {}, "<!-- 日期 -->", " ", 1),
    // The date marker is followed by the four-digit year, as the departure
    // cut shows; a "20" in front would make 2010 read as 202010.
    take(S::ReceiptTime, {}, "<!-- 日期 -->", " ", 3),
    take(S::ReceiptPlace, {}, "录入站点", "派送人为", 3),
    takeFrom(S::ReceiptPlace, S::ReceiptPlace, {}, "[", "]", 1),
};

constexpr std::array kYuantong{
    narrow("<td colspan='4'>始发信息</td>", "</td></tr></table></td>", 0),
    take(S::DepartureTime, {}, "</tr><tr><td>", "</td>", 1),
    take(S::DeparturePlace, {}, "target='_blank'>", "</td><td>", 1),
    take(S::ReceiptTime, {}, "</td><td>", " ", 3),
    take(S::ReceiptPlace, {}, "target='_blank'>", "</td><td>", 3),
};

constexpr std::array kDebang{
    take(S::DepartureTime, {}, "<td class='iteTd'>", " ", 1),
    take(S::DeparturePlace, {}, "从 [", "]", 1),
    take(S::ReceiptTime, "20", "<td class='iteTd'>20", " ", 3),
    take(S::ReceiptPlace, {}, "目的地,[", "]", 3),
};

constexpr std::array kCces{
    take(S::DepartureTime, "201", ">201", " ", 1),
    take(S::DeparturePlace, {}, "align=left>", "</td>", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "[", "]", 3),
};

constexpr std::array kXinfeihong{
    take(S::DepartureTime, "201", ">201", "<", 1),
    take(S::DeparturePlace, {}, "\r\n<font color=\"#ff0000\">", "<br>", 1),
    take(S::ReceiptTime, "20", ">20", " ", 3),
    take(S::ReceiptPlace, {}, "货物到达<font color=\"#ff0000\">", "</font></td>", 3),
};

constexpr std::array kZhaijisong{
    narrow(kZjsCell, kZjsCell, 0),
    take(S::DepartureTime, {}, kZjsCell, "<", 1),
    narrow(kZjsCell, kZjsCell, 0),
    take(S::ReceiptTime, {}, kZjsCell, "<", 3),
    take(S::DeparturePlace, {}, kZjsCell, "<", 1),
    narrow(kZjsCell, kZjsCell, 0),
    take(S::ReceiptPlace, {}, kZjsCell, "<", 3),
};

constexpr std::array kAae{
    take(S::Events, {}, "Event Description</th>", "</table>", 1),
    takeFrom(S::ReceiptTime, S::Events, {}, "<td>", " ", 1),
    toAaeRowImage(take(S::Scratch, {}, "起运地</span>:</td>", {}, 1)),
    takeFrom(S::DeparturePlace, S::Scratch, {}, "bg.gif\">", "<", 1),
    toAaeRowImage(take(S::Scratch, {}, "目的地</span></td>", {}, 1)),
    takeFrom(S::ReceiptPlace, S::Scratch, {}, "bg.gif\">", "<", 1),
    takeFrom(S::DepartureTime, S::Events, "20", "<td>20", " ", 3),
};

constexpr std::array kXingchen{
    narrow(kXingchenCell, kXingchenCell, 0),
    take(S::DepartureTime, {}, "><b>", "<", 1),
    narrow(kXingchenCell, kXingchenCell, 0),
    take(S::DeparturePlace, {}, "><b>", "<", 1),
    narrow(kXingchenCell, kXingchenCell, 0),
    take(S::ReceiptPlace, {}, "><b>", "<", 1),
    take(S::ReceiptTime, "20", "<b>20", "<", 3),
};

using enum QueryKind;
using enum Decoding;
using enum RecordSense;

const std::array kCouriers{
    TrackingParser{"中通快递", PrefixPlusNumber, AsFetched, "签收人", Present, 0, kZhongtong},
    TrackingParser{"源伟快递", PrefixPlusNumber, AsFetched, "没有找到相关记录", Absent, 0, kYuanwei},
    TrackingParser{"DDS快递", PrefixPlusNumber, AsFetched, ">签收</span>,<", Present, 0, kDds},
    TrackingParser{"申通快递", PrefixPlusNumber, AsFetched, ">签收</span>,<", Present, 0, kShentong},
    TrackingParser{"韵达快递", PrefixPlusNumber, AsFetched,
                   "<td align=\"center\" bgcolor=\"#fdd100\">", Present, 0, kYunda},
    TrackingParser{"全一快递", PrefixPlusNumber, AsFetched, "工作描述", Present, 0, kQuanyi},
    TrackingParser{"顺风快递", PrefixPlusNumber, AsFetched, "签收人是", Present, 0, kShunfeng},
    TrackingParser{"天天快递", PrefixPlusNumber, AsFetched, "签收人是", Present, 0, kTiantian},
    TrackingParser{"汇通快递", PrefixPlusNumber, AsFetched, "签收人", Present, 0, kHuitong},
    TrackingParser{"中铁快运", RailwayEndpoint, AsFetched, "您查询的号码", Present, 0, kZhongtie},
    TrackingParser{"圆通快递", PrefixPlusNumber, AsFetched, "上一站/下一站", Present, 1, kYuantong},
    TrackingParser{"德邦物流", PrefixPlusNumber, TextThenUtf8, "跟踪时间", Present, 0, kDebang},
    TrackingParser{"希伊艾斯CCES", PrefixPlusNumber, AsFetched, "签收人：", Present, 0, kCces},
    TrackingParser{"鑫飞鸿快递", PrefixPlusNumber, AsFetched, "签收人是:", Present, 0, kXinfeihong},
    TrackingParser{"宅急送快递", PrefixPlusNumber, AsFetched, kZjsCell, Present, 1, kZhaijisong},
    TrackingParser{"AAE全球专递", PrefixPlusNumber, Utf8, "查无此单资料", Absent, 0, kAae},
    TrackingParser{"星辰急便", PrefixPlusNumber, AsFetched, kXingchenCell, Present, 1, kXingchen},
};

// clang-format on

std::string decodePage(Decoding decoding, BytesView fetched) {
    switch (decoding) {
        case Decoding::AsFetched:
            return ToText(fetched);
        case Decoding::TextThenUtf8: {
            const Bytes text = ToBytes(ToText(fetched));
            return ToText(ConvertEncoding(text, "UTF-8", "GBK"));
        }
        case Decoding::Utf8:
            return ToText(ConvertEncoding(fetched, "UTF-8", "GBK"));
    }
    return {};
}

struct Texts {
    std::string page;
    std::string events;
    std::string scratch;
    TrackingResult result;

    std::string& at(Slot slot) {
        switch (slot) {
            case Slot::Page:
                return page;
            case Slot::Events:
                return events;
            case Slot::Scratch:
                return scratch;
            case Slot::DepartureTime:
                return result.departureTime;
            case Slot::DeparturePlace:
                return result.departurePlace;
            case Slot::ReceiptTime:
                return result.receiptTime;
            case Slot::ReceiptPlace:
                return result.receiptPlace;
        }
        return scratch;
    }
};

void runStep(const ParseStep& step, Texts& texts, const CourierHosts& hosts) {
    if (step.kind == StepKind::NotYetArrived) {
        if (texts.result.receiptPlace.empty()) {
            texts.result.receiptTime.clear();
            texts.result.receiptPlace = "尚未到达";
        }
        return;
    }
    const std::string_view end = step.endIsAaeRowImage ? hosts.aaeRowImage : step.end;
    std::string cut = cutBetween(texts.at(step.source), step.start, end, step.mode);
    if (step.clean) {
        cut = cleanText(cut);
    }
    if (!step.afterLast.empty()) {
        cut = textAfterLast(cut, step.afterLast);
    }
    std::string& target = texts.at(step.target);
    target = std::string(step.prefix) + cut;
    // A cut whose start marker is missing may begin on the second byte of a
    // character and so end in the first byte of another. The four texts
    // become list cells, and such a byte would swallow the separator after
    // the cell in a saved result file, so it is dropped there.
    if (step.target != Slot::Page && step.target != Slot::Events && step.target != Slot::Scratch) {
        target.resize(WithoutLoneLeadByte(target).size());
    }
}

bool holdsRecord(const TrackingParser& parser, std::string_view page) {
    const bool markerFound = FindText(page, parser.recordMarker) > 0;
    if (parser.sense == RecordSense::Present) {
        return markerFound;
    }
    // A page that came but gives no text (a NUL first, or no UTF-8) cannot
    // carry the no-record notice, yet holds no record to show either.
    return !page.empty() && !markerFound;
}

TrackingResult parseDecodedPage(const TrackingParser& parser, std::string page,
                                const CourierHosts& hosts) {
    Texts texts;
    texts.page = std::move(page);
    const auto steps = parser.steps;
    const std::size_t beforeTest = static_cast<std::size_t>(parser.stepsBeforeTest);
    for (std::size_t i = 0; i < beforeTest && i < steps.size(); ++i) {
        runStep(steps[i], texts, hosts);
    }
    if (!holdsRecord(parser, texts.page)) {
        return {};
    }
    for (std::size_t i = beforeTest; i < steps.size(); ++i) {
        runStep(steps[i], texts, hosts);
    }
    texts.result.found = true;
    return std::move(texts.result);
}

// A failed fetch (refused, timed out, abandoned) gives empty bytes, and a
// page that said nothing is no answer either: whether the number has a record
// is unknown.
TrackingResult failedLookup() {
    TrackingResult result;
    result.fetchFailed = true;
    return result;
}

}  // namespace

std::span<const TrackingParser> courierTable() { return kCouriers; }

std::string unknownCourierText(std::string_view courier) {
    const std::string choose = "请点击\"选择模板\"选一个快递公司的模板。";
    if (courier.empty()) {
        return "对不起类型不能为空\r\n" + choose;
    }
    return "对不起,不认识快递类型\"" + std::string(courier) + "\",无法查询它的单号。\r\n" + choose;
}

const TrackingParser* findTrackingParser(std::string_view courier) {
    for (const TrackingParser& parser : kCouriers) {
        if (parser.name == courier) {
            return &parser;
        }
    }
    return nullptr;
}

std::string trackingQueryAddress(const TrackingParser& parser, std::string_view queryUrlPrefix,
                                 std::string_view number, const CourierHosts& hosts) {
    const std::string_view prefix =
        parser.query == QueryKind::RailwayEndpoint ? hosts.railwayQueryPrefix : queryUrlPrefix;
    std::string address(prefix);
    address += number;
    return address;
}

TrackingResult parseTrackingPage(const TrackingParser& parser, BytesView fetched,
                                 const CourierHosts& hosts) {
    if (fetched.empty()) {
        return failedLookup();
    }
    return parseDecodedPage(parser, decodePage(parser.decoding, fetched), hosts);
}

TrackingResult parseTrackingPage(std::string_view courier, BytesView fetched,
                                 const CourierHosts& hosts) {
    const TrackingParser* parser = findTrackingParser(courier);
    if (parser == nullptr) {
        return {};
    }
    return parseTrackingPage(*parser, fetched, hosts);
}

namespace {

bool isTrackingAnswer(const HttpReply& reply) {
    if (reply.body.empty()) {
        return false;
    }
    // A page broken off part-way (reset, stall, fewer bytes than announced,
    // a broken chunk) may have lost the record marker or the texts after it.
    // A page cut at the cap is read as it is: records sit at its top.
    if (!reply.complete && !reply.cut) {
        return false;
    }
    // A site under load or in trouble answers with its own error page. Any
    // other status is read as usual: a courier may answer 404 with its
    // no-record page.
    return reply.status != 429 && !(reply.status >= 500 && reply.status <= 599);
}

}  // namespace

TrackingResult lookUpNumber(std::string_view courier, std::string_view number,
                            std::string_view queryUrlPrefix, const CourierHosts& hosts,
                            const std::atomic<bool>& cancelled) {
    const TrackingParser* parser = findTrackingParser(courier);
    if (parser == nullptr) {
        return {};
    }
    HttpReply reply = HttpFetch(trackingQueryAddress(*parser, queryUrlPrefix, number, hosts),
                                kTrackingPageCap, cancelled);
    if (!isTrackingAnswer(reply)) {
        return failedLookup();
    }
    Bytes fetched = std::move(reply.body);
    std::string page = decodePage(parser->decoding, fetched);
    // Thirty workers each holding the bytes beside their text would double
    // the run's peak for nothing.
    Bytes().swap(fetched);
    return parseDecodedPage(*parser, std::move(page), hosts);
}

TrackingResult lookUpNumber(std::string_view courier, std::string_view number,
                            std::string_view queryUrlPrefix, const CourierHosts& hosts) {
    static const std::atomic<bool> kNeverCancelled{false};
    return lookUpNumber(courier, number, queryUrlPrefix, hosts, kNeverCancelled);
}

}  // namespace zelvo
