#pragma once

#include <string_view>

#include "runtime/bytes.h"

namespace zelvo {

// The body the web server returns for the address (whatever the status), or
// empty bytes on any failure before reading; the bytes read so far when
// reading fails. Safe to call from many threads at once.
Bytes HttpGet(std::string_view address);

}  // namespace zelvo
