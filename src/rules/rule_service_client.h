#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "rules/rule_source.h"
#include "runtime/bytes.h"

namespace zelvo {

// The rule source as set by the build (ZELVO_RULE_SOURCE_URL); empty when none.
std::string DefaultRuleSourceAddress();

// The built-in record as a RuleList of one line.
std::string BuiltInRuleList();

// The program's connection to the rule source: an HTTP endpoint that answers a
// GET with a GBK RuleList, or a local RuleList file (rule_source.h). Without a
// source the client delivers the built-in record. Built unconnected; closing a
// closed client does nothing.
class RuleServiceClient {
  public:
    using Fetch = std::function<Bytes(std::string_view source)>;

    static constexpr int kReplyLimitMs = 60'000;
    // A reply beyond this is not a rule list; it is taken as a failed exchange.
    static constexpr std::size_t kMaxReplyBytes = kMaxRuleListBytes;

    // source is an address or a file path (GBK). fetch defaults to HttpFetch
    // (a reply that did not arrive whole gives empty bytes) for an address and ReadRuleFile for a
    // file; tests shorten the limit and may fake the fetch.
    explicit RuleServiceClient(std::string source = DefaultRuleSourceAddress(), Fetch fetch = {},
                               int replyLimitMs = kReplyLimitMs);

    RuleServiceClient(const RuleServiceClient&) = delete;
    RuleServiceClient& operator=(const RuleServiceClient&) = delete;
    ~RuleServiceClient();

    // The source named at start-up in place of the build setting; a fetch
    // given to the constructor stays.
    void setSource(std::string source) { source_ = std::move(source); }
    const std::string& source() const { return source_; }

    void open();
    void close();
    bool isOpen() const { return open_; }

    // The reply as a RuleList, or the empty text when the client is not open,
    // the exchange fails, the reply is too big or holds no RuleRecord at all
    // (an error page), or no reply arrives within the limit. Blocks the
    // caller until then.
    std::string fetchRuleList();

  private:
    std::string source_;
    Fetch fetch_;
    int replyLimitMs_;
    bool open_ = false;
};

}  // namespace zelvo
