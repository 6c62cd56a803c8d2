#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/bytes.h"

// Where the RuleList comes from: an http or https address that answers with a
// GBK RuleList, or a local GBK RuleList file. Whatever a source delivers goes
// through the same checks before it counts as a RuleList.
namespace zelvo {

// Anything larger is not a rule list.
inline constexpr std::size_t kMaxRuleListBytes = 16 * 1024 * 1024;

// True when source begins with "http://" or "https://" (in any case): the
// HTTP fetch asks it. Every other source names a local file.
bool IsRuleSourceAddress(std::string_view source);

// The RuleList held by a reply or a file's bytes: the text up to the first
// NUL byte; the empty text when the bytes are beyond kMaxRuleListBytes or
// hold no valid RuleRecord at all (an error page, some other file).
std::string RuleListFromBytes(BytesView bytes);

// The bytes of a local RuleList file (path GBK), read with the size cap;
// empty when it cannot be read or is too large.
Bytes ReadRuleFile(std::string_view path);

enum class RuleFileCheck { Usable, Unreadable, TooLarge, NoRecord };

// Whether the file at path (GBK) would give a RuleList, read as the rule
// source reads it.
RuleFileCheck CheckRuleFile(std::string_view path);

}  // namespace zelvo
