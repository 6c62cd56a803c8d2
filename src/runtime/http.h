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

// A fetch with what a caller needs to judge its body.
struct HttpReply {
    Bytes body;
    // The status of the last response; 0 when none came (a failure, or an
    // answer without a status line).
    int status = 0;
    // The body ended as the server meant it to: all of Content-Length, the
    // last chunk, or the server closing an undelimited body. False when the
    // transfer broke off after the head (reset, stall, short or broken body),
    // failed before it, was cancelled or was cut at the cap.
    bool complete = false;
    // The body reached the cap and the rest was not read.
    bool cut = false;
};

// HttpGetCancellable for a caller that must tell a whole page from a piece:
// the body up to bodyCap (and never beyond the general cap below), the status
// and how the transfer ended. A cancelled fetch gives an empty, incomplete
// reply.
HttpReply HttpFetch(std::string_view address, std::size_t bodyCap,
                    const std::atomic<bool>& cancelled);

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
    // A longer body is cut here and returned up to this size. HttpFetch's
    // callers ask for less (a tracking page, a rule list).
    std::size_t bodyCap = std::size_t{16} * 1024 * 1024;
    // Redirects followed before the last response's body is returned.
    int maxRedirects = 5;
};

HttpLimits CurrentHttpLimits();
// Applies to calls that begin afterwards.
void SetHttpLimits(const HttpLimits& limits);

}  // namespace zelvo
