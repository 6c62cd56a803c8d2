#pragma once

#include <atomic>
#include <cstddef>
#include <string_view>

#include "runtime/bytes.h"

namespace zelvo {

// The body the web server returns for the address (whatever the status), or
// empty bytes on any failure before reading; the bytes read so far when
// reading fails. Safe to call from many threads at once.
Bytes HttpGet(std::string_view address);

// HttpGet that a caller can abandon: once cancelled becomes true, a fetch in
// flight ends within about a second and gives empty bytes (as a failure does),
// and a fetch that has not begun gives empty bytes at once.
Bytes HttpGetCancellable(std::string_view address, const std::atomic<bool>& cancelled);

// The bounds every HttpGet keeps to, so that no server can hold a worker or
// exhaust memory. Tests shorten them.
struct HttpLimits {
    // Time to resolve the host and connect: room for three lost connection
    // attempts (resent after 1, 3 and 7 s), a quarter of the minute a
    // Windows client waits by default for a dead host.
    long connectTimeoutMs = 15000;
    // A transfer that moves no byte for this long is abandoned (whole
    // seconds): the receive time-out a Windows client has by default.
    long stallSeconds = 30;
    // A longer body is cut here and returned up to this size: hundreds of
    // times a tracking page, and thirty workers stay under half a GiB.
    std::size_t bodyCap = std::size_t{16} * 1024 * 1024;
    // Redirects followed before the last response's body is returned.
    int maxRedirects = 5;
};

HttpLimits CurrentHttpLimits();
// Applies to calls that begin afterwards.
void SetHttpLimits(const HttpLimits& limits);

}  // namespace zelvo
