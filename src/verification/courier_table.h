#pragma once

#include <atomic>
#include <span>
#include <string>
#include <string_view>

#include "runtime/bytes.h"
#include "verification/courier_hosts.h"

// The built-in tracking parsers, one entry per courier, as data: how the
// page is queried and decoded, the marker that tells a record from none, and
// the cuts that take the four texts out of the page.
namespace zelvo {

enum class QueryKind { PrefixPlusNumber, RailwayEndpoint };

enum class Decoding {
    AsFetched,     // the bytes up to the first NUL, taken as GBK
    TextThenUtf8,  // up to the first NUL, then converted from UTF-8
    Utf8,          // all bytes converted from UTF-8, then up to the first NUL
};

enum class RecordSense { Present, Absent };

// The texts a step reads and writes. Events and Scratch hold the narrowed
// texts of the AAE entry, whose cuts do not replace the page.
enum class Slot { Page, Events, Scratch, DepartureTime, DeparturePlace, ReceiptTime, ReceiptPlace };

enum class StepKind {
    Cut,            // target := prefix + finish(cutBetween(source, start, end, mode))
    NotYetArrived,  // empty receipt place: receipt time := empty, place := "尚未到达"
};

struct ParseStep {
    StepKind kind = StepKind::Cut;
    Slot target = Slot::Page;
    Slot source = Slot::Page;
    std::string_view prefix;
    std::string_view start;
    std::string_view end;
    int mode = 0;
    bool endIsAaeRowImage = false;  // end marker is CourierHosts::aaeRowImage
    bool clean = false;             // cleanText of the cut
    std::string_view afterLast;     // when set, textAfterLast of the cut
};

struct TrackingParser {
    std::string_view name;
    QueryKind query = QueryKind::PrefixPlusNumber;
    Decoding decoding = Decoding::AsFetched;
    std::string_view recordMarker;
    RecordSense sense = RecordSense::Present;
    // Steps run before the record test: they narrow the page it is applied to.
    int stepsBeforeTest = 0;
    std::span<const ParseStep> steps;
};

struct TrackingResult {
    bool found = false;
    std::string departureTime;
    std::string departurePlace;
    std::string receiptTime;
    std::string receiptPlace;
    // No tracking page came back (nothing, a page broken off part-way, or a
    // server's error page for 429 or 5xx): whether the number has a record
    // is unknown, so it is neither found nor without a record.
    bool fetchFailed = false;
};

// Every entry, in the order the courier names are compared.
std::span<const TrackingParser> courierTable();

// The first entry whose name equals courier byte for byte; null when none.
const TrackingParser* findTrackingParser(std::string_view courier);

// What the user is told when 快递类型 names no entry (the empty name too):
// which courier, and that a template must be chosen.
std::string unknownCourierText(std::string_view courier);

// The address whose page holds the number's tracking record.
std::string trackingQueryAddress(const TrackingParser& parser, std::string_view queryUrlPrefix,
                                 std::string_view number, const CourierHosts& hosts = {});

// Decides from the page bytes as fetched whether they hold a record and cuts
// the four texts out of it. An unknown courier gives no record; empty bytes
// (every failed fetch) give a failed lookup.
TrackingResult parseTrackingPage(const TrackingParser& parser, BytesView fetched,
                                 const CourierHosts& hosts = {});
TrackingResult parseTrackingPage(std::string_view courier, BytesView fetched,
                                 const CourierHosts& hosts = {});

// Fetches the number's tracking page for the courier and parses it; a fetch
// that brought no whole tracking page is a failed lookup. Runs on worker
// threads without any lock. Once cancelled is set, a fetch in flight
// is abandoned within about a second and the lookup fails.
TrackingResult lookUpNumber(std::string_view courier, std::string_view number,
                            std::string_view queryUrlPrefix, const CourierHosts& hosts,
                            const std::atomic<bool>& cancelled);
TrackingResult lookUpNumber(std::string_view courier, std::string_view number,
                            std::string_view queryUrlPrefix, const CourierHosts& hosts = {});

}  // namespace zelvo
