#include "rules/rule_service_client.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "config/config.h"
#include "runtime/detached_thread.h"
#include "runtime/http.h"

#ifndef ZELVO_RULE_SOURCE_URL
#define ZELVO_RULE_SOURCE_URL ""
#endif

namespace zelvo {
namespace {

// What the fetching thread hands back; shared so that a reply arriving after
// the limit lands in memory nobody waits on any more.
struct PendingReply {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<Bytes> body;
};

// A rule list that did not arrive whole (broken off, or longer than a rule
// list can be and so cut) is a failed exchange: a list with its last lines
// missing would pass for a good one.
Bytes FetchRuleListReply(std::string_view address) {
    static const std::atomic<bool> kNeverCancelled{false};
    HttpReply reply = HttpFetch(address, kMaxRuleListBytes, kNeverCancelled);
    if (!reply.complete) return {};
    return std::move(reply.body);
}

Bytes FetchBySourceKind(std::string_view source) {
    return IsRuleSourceAddress(source) ? FetchRuleListReply(source) : ReadRuleFile(source);
}

}  // namespace

std::string DefaultRuleSourceAddress() { return ZELVO_RULE_SOURCE_URL; }

std::string BuiltInRuleList() { return std::string(config::kBuiltInRuleRecord) + "\r\n"; }

RuleServiceClient::RuleServiceClient(std::string source, Fetch fetch, int replyLimitMs)
    : source_(std::move(source)),
      fetch_(fetch ? std::move(fetch) : Fetch(&FetchBySourceKind)),
      replyLimitMs_(replyLimitMs) {}

RuleServiceClient::~RuleServiceClient() { close(); }

void RuleServiceClient::open() { open_ = true; }

void RuleServiceClient::close() { open_ = false; }

std::string RuleServiceClient::fetchRuleList() {
    if (!open_) return {};
    if (source_.empty()) return BuiltInRuleList();

    // The HTTP fetch has no limit of its own that we could rely on (nor has a
    // file on a stalled network share), so it runs on its own thread and is
    // abandoned when the limit passes.
    auto pending = std::make_shared<PendingReply>();
    const bool started = StartDetachedThread([pending, fetch = fetch_, source = source_] {
        Bytes body;
        try {
            body = fetch(source);
        } catch (...) {
            body.clear();
        }
        std::lock_guard lock(pending->mutex);
        pending->body = std::move(body);
        pending->done.notify_all();
    });
    if (!started) return {};

    std::unique_lock lock(pending->mutex);
    if (!pending->done.wait_for(lock, std::chrono::milliseconds(replyLimitMs_),
                                [&] { return pending->body.has_value(); })) {
        return {};
    }
    // The fetch returns error pages like any other body: a reply without a
    // single record is a failed exchange, so that the next opening asks again
    // instead of keeping an error page as the list for the rest of the run.
    return RuleListFromBytes(BytesView(*pending->body));
}

}  // namespace zelvo
