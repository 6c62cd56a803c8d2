// ConvertEncoding on the Windows code-page functions, with their default
// behaviour: an invalid sequence becomes U+FFFD, a character the target
// lacks becomes its default character ("?").
#include <windows.h>

#include <climits>
#include <string>

#include "runtime/encoding.h"
#include "runtime/encoding_gbk.h"
#include "runtime/encoding_names.h"

namespace zelvo {

Bytes ConvertEncoding(BytesView bytes, std::string_view fromName, std::string_view toName) {
    const std::optional<unsigned> from = CodePageOf(fromName);
    const std::optional<unsigned> to = CodePageOf(toName);
    if (!from || !to) return {};
    if (bytes.empty()) return {};
    if (bytes.size() > INT_MAX) return {};

    const auto* in = reinterpret_cast<const char*>(bytes.data());
    const int inLength = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(*from, 0, in, inLength, nullptr, 0);
    if (wideLength <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(*from, 0, in, inLength, wide.data(), wideLength) != wideLength) return {};

    const int outLength =
        WideCharToMultiByte(*to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0) return {};
    Bytes output(static_cast<std::size_t>(outLength));
    if (WideCharToMultiByte(*to, 0, wide.data(), wideLength, reinterpret_cast<char*>(output.data()),
                            outLength, nullptr, nullptr) != outLength) {
        return {};
    }
    if (*to == kCodePageGbk) ReplaceSingleByteHighCharacters(output);
    return output;
}

}  // namespace zelvo
