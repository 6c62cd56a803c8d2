#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/bytes.h"

namespace zelvo {

// The body the web server returns for the address (whatever the status), or
// empty bytes on any failure before reading; the bytes read so far when
// reading fails. Safe to call from many threads at once.
Bytes HttpGet(std::string_view address);

// The bounds every HttpGet keeps to, so that no server can hold a worker or
// exhaust memory. The defaults suit the program; tests shorten them.
struct HttpLimits {
    // Time to resolve the host and connect.
    long connectTimeoutMs = 15000;
    // A transfer that moves no byte for this long is abandoned (whole seconds).
    long stallSeconds = 30;
    // A longer body is cut here and returned up to this size.
    std::size_t bodyCap = std::size_t{32} * 1024 * 1024;
    // Redirects followed before the last response's body is returned.
    int maxRedirects = 5;
};

HttpLimits CurrentHttpLimits();
// Applies to calls that begin afterwards.
void SetHttpLimits(const HttpLimits& limits);

}  // namespace zelvo
