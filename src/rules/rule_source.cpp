#include "rules/rule_source.h"

#include "generation/rule_record.h"
#include "results/bounded_read.h"
#include "runtime/convert.h"
#include "runtime/text.h"

namespace zelvo {

namespace {

bool HoldsRuleRecord(std::string_view list) {
    for (const std::string& line : SplitRuleList(list)) {
        if (ParseRuleRecord(line)) return true;
    }
    return false;
}

}  // namespace

bool IsRuleSourceAddress(std::string_view source) {
    for (std::string_view scheme : {"http://", "https://"}) {
        if (source.size() >= scheme.size() &&
            CompareText(source.substr(0, scheme.size()), scheme, false) == 0) {
            return true;
        }
    }
    return false;
}

std::string RuleListFromBytes(BytesView bytes) {
    if (bytes.size() > kMaxRuleListBytes) return {};
    std::string list = ToText(bytes);  // a text ends at a NUL byte
    if (!HoldsRuleRecord(list)) return {};
    return list;
}

Bytes ReadRuleFile(std::string_view path) {
    BoundedRead read = ReadFileBounded(path, kMaxRuleListBytes);
    return read.status == ReadStatus::Read ? std::move(read.bytes) : Bytes();
}

RuleFileCheck CheckRuleFile(std::string_view path) {
    const BoundedRead read = ReadFileBounded(path, kMaxRuleListBytes);
    switch (read.status) {
        case ReadStatus::Read:
            return RuleListFromBytes(BytesView(read.bytes)).empty() ? RuleFileCheck::NoRecord
                                                                    : RuleFileCheck::Usable;
        case ReadStatus::TooLarge:
            return RuleFileCheck::TooLarge;
        case ReadStatus::Unreadable:
            break;
    }
    return RuleFileCheck::Unreadable;
}

}  // namespace zelvo
