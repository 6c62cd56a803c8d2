#pragma once

#include "runtime/bytes.h"

// What ConvertEncoding gives when it converts to GBK, on every platform.
namespace zelvo {

// Code page 936 has two single-byte characters above 0x7F: 0x80 ("€") and,
// on Windows, 0xFF. The program's texts read every such byte as the first of
// a two-byte character, which would swallow the byte after it, so each one
// becomes "?", as any other character GBK cannot carry does.
void ReplaceSingleByteHighCharacters(Bytes& gbk);

}  // namespace zelvo
