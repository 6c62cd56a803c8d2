#include "runtime/encoding_gbk.h"

namespace zelvo {

void ReplaceSingleByteHighCharacters(Bytes& gbk) {
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const std::uint8_t byte = gbk[i];
        if (byte >= 0x81 && byte <= 0xFE) {
            // A lead byte: the byte after it is its second half, whatever it is.
            ++i;
        } else if (byte >= 0x80) {
            gbk[i] = '?';
        }
    }
}

}  // namespace zelvo
