// HttpGet on WinINet: one internet session for the process, and for each
// call its own connection and GET request, read to the end.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/detached_thread.h"
#include "runtime/http.h"

namespace zelvo {

namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD kLargestChunk = 102400;
constexpr DWORD kChunkWithoutLength = 10240;

// Opened on first use, shared by every thread, never closed. Direct access:
// no proxy and nothing from the user's browser settings.
HINTERNET TheSession() {
    static std::once_flag once;
    static HINTERNET session = nullptr;
    std::call_once(once, [] {
        session = InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    });
    return session;
}

std::mutex gLimitsMutex;
HttpLimits gLimits;

struct HandleCloser {
    void operator()(void* handle) const { InternetCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The parts of an http or https address; the path (with its query) is kept
// exactly as written.
struct Address {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string user;
    std::string password;
    std::string path;
};

bool IsHostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// False when the address cannot be split or is not http or https.
bool SplitAddress(std::string_view text, Address& address) {
    if (text.find_first_of(std::string_view("\0 \t\r\n", 5)) != std::string_view::npos) return false;
    const std::size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos) return false;
    const std::string_view scheme = text.substr(0, schemeEnd);
    if (SameIgnoringCase(scheme, "https")) {
        address.secure = true;
    } else if (!SameIgnoringCase(scheme, "http")) {
        return false;
    }
    text.remove_prefix(schemeEnd + 3);
    const std::size_t authorityEnd = text.find_first_of("/?#");
    std::string_view authority = text.substr(0, authorityEnd);
    std::string_view rest = authorityEnd == std::string_view::npos ? std::string_view()
                                                                   : text.substr(authorityEnd);
    // The fragment stays with the client.
    rest = rest.substr(0, rest.find('#'));
    address.path.clear();
    if (rest.empty() || rest[0] != '/') address.path.push_back('/');
    address.path.append(rest);

    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view userInfo = authority.substr(0, at);
        const std::size_t colon = userInfo.find(':');
        address.user = std::string(userInfo.substr(0, colon));
        if (colon != std::string_view::npos) address.password = std::string(userInfo.substr(colon + 1));
        authority.remove_prefix(at + 1);
    }
    std::string_view portText;
    if (!authority.empty() && authority[0] == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return false;
        address.host = std::string(authority.substr(1, close - 1));
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after[0] != ':') return false;
            portText = after.substr(1);
        }
        for (char c : address.host) {
            if (!(c == ':' || c == '.' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
                  (c >= 'A' && c <= 'F'))) {
                return false;
            }
        }
    } else {
        const std::size_t colon = authority.find(':');
        address.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
        for (char c : address.host) {
            if (!IsHostCharacter(c)) return false;
        }
    }
    if (address.host.empty()) return false;
    unsigned port = address.secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    if (authority.find(':') != std::string_view::npos && authority.back() == ':') return false;
    if (!portText.empty()) {
        if (portText.size() > 5) return false;
        port = 0;
        for (char c : portText) {
            if (c < '0' || c > '9') return false;
            port = port * 10 + static_cast<unsigned>(c - '0');
        }
        if (port == 0 || port > 65535) return false;
    }
    address.port = static_cast<INTERNET_PORT>(port);
    return true;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string QueryText(HINTERNET request, DWORD info) {
    std::string value(256, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(value.size());
        DWORD index = 0;
        if (HttpQueryInfoA(request, info, value.data(), &size, &index)) {
            value.resize(size);
            return value;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        value.resize(size + 1);
    }
}

// One request and its response: the connection and request handles are
// closed before it returns. location is set when the response is a redirect.
struct Exchange {
    Bytes body;
    std::string location;
    DWORD status = 0;
    bool complete = false;
    bool cut = false;
};

bool SetTimeouts(HINTERNET handle, const HttpLimits& limits) {
    DWORD connect = static_cast<DWORD>(limits.connectTimeoutMs);
    DWORD receive = static_cast<DWORD>(limits.stallSeconds * 1000);
    return InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect) &&
           InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive) &&
           InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
}

// Gives false when the request could not be made (nothing was read).
bool Fetch(HINTERNET session, const Address& address, const HttpLimits& limits, std::size_t cap,
           const std::atomic<bool>& cancelled, Exchange& exchange) {
    Handle connection(InternetConnectA(session, address.host.c_str(), address.port,
                                       address.user.empty() ? nullptr : address.user.c_str(),
                                       address.password.empty() ? nullptr : address.password.c_str(),
                                       INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection || !SetTimeouts(connection.get(), limits)) return false;
    // No cache, no cookies, no dialogs and no redirects of WinINet's own:
    // a run never depends on the user's browser settings, and redirects are
    // counted here.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_NO_AUTH;
    if (address.secure) flags |= INTERNET_FLAG_SECURE;
    const char* acceptTypes[] = {"*/*", nullptr};
    Handle request(HttpOpenRequestA(connection.get(), "GET", address.path.c_str(), "HTTP/1.0",
                                    nullptr, acceptTypes, flags, 0));
    if (!request || !SetTimeouts(request.get(), limits)) return false;
    static const char kHeaders[] = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), kHeaders, static_cast<DWORD>(std::strlen(kHeaders)),
                          nullptr, 0)) {
        return false;
    }

    DWORD status = 0;
    DWORD size = sizeof status;
    if (HttpQueryInfoA(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                       &size, nullptr)) {
        exchange.status = status;
        if (IsRedirect(status)) exchange.location = QueryText(request.get(), HTTP_QUERY_LOCATION);
    }
    DWORD chunk = kChunkWithoutLength;
    DWORD length = 0;
    size = sizeof length;
    const bool hasLength = HttpQueryInfoA(
        request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr);
    if (hasLength) chunk = length < kLargestChunk ? length + 1 : kLargestChunk;
    Bytes buffer(chunk);
    bool ended = false;  // the server reported the end of the body
    while (!cancelled.load()) {
        // A synchronous read waits until its whole buffer is full, so a
        // server that stalls part-way would lose the piece already sent:
        // ask first how much has arrived and read no more than that. A
        // failure (reset, receive time-out, broken chunk) keeps what was read.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.get(), &available, 0, 0)) break;
        if (available == 0) {
            ended = true;
            break;
        }
        if (exchange.body.size() >= cap) {
            exchange.cut = true;
            break;
        }
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer.data(), std::min(available, chunk), &got))
            break;
        if (got == 0) {
            ended = true;
            break;
        }
        const std::size_t taken = std::min<std::size_t>(got, cap - exchange.body.size());
        exchange.body.insert(exchange.body.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(taken));
        if (taken < got) {
            exchange.cut = true;
            break;
        }
    }
    // WinINet ends a body quietly when the server closes early: fewer bytes
    // than announced are a broken transfer too. It decodes chunks itself and
    // ends a chunked body that breaks off in the same quiet way, so whether
    // one arrived whole cannot be known here: a chunked answer (which a
    // server must not send to an HTTP/1.0 request at all) counts as broken.
    const bool chunked =
        SameIgnoringCase(QueryText(request.get(), HTTP_QUERY_TRANSFER_ENCODING), "chunked");
    exchange.complete =
        ended && !cancelled.load() && !chunked && (!hasLength || exchange.body.size() >= length);
    return true;
}

// The address a redirect leads to, resolved against the current one;
// false when there is none or it is not http or https.
bool Follow(const std::string& current, const std::string& location, Address& next,
            std::string& nextText) {
    if (location.empty()) return false;
    std::string combined(2048, '\0');
    DWORD size = static_cast<DWORD>(combined.size());
    if (!InternetCombineUrlA(current.c_str(), location.c_str(), combined.data(), &size,
                             ICU_NO_ENCODE)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        combined.resize(size + 1);
        size = static_cast<DWORD>(combined.size());
        if (!InternetCombineUrlA(current.c_str(), location.c_str(), combined.data(), &size,
                                 ICU_NO_ENCODE)) {
            return false;
        }
    }
    combined.resize(size);
    next = Address{};
    if (!SplitAddress(combined, next)) return false;
    nextText = combined;
    return true;
}

HttpReply Get(std::string_view text, std::size_t bodyCap, const std::atomic<bool>& cancelled) {
    Address address;
    if (!SplitAddress(text, address)) return {};
    HINTERNET session = TheSession();
    if (session == nullptr) return {};
    const HttpLimits limits = [] {
        std::lock_guard lock(gLimitsMutex);
        return gLimits;
    }();
    const std::size_t cap = std::min(bodyCap, limits.bodyCap);
    std::string current(text);
    for (int hop = 0;; ++hop) {
        Exchange exchange;
        if (!Fetch(session, address, limits, cap, cancelled, exchange)) return {};
        if (cancelled.load()) return {};
        HttpReply reply;
        reply.body = std::move(exchange.body);
        reply.status = static_cast<int>(exchange.status);
        reply.complete = exchange.complete;
        reply.cut = exchange.cut;
        if (hop >= limits.maxRedirects || exchange.location.empty()) return reply;
        // A redirect to an address that cannot be fetched ends with this body.
        Address next;
        std::string nextText;
        if (!Follow(current, exchange.location, next, nextText)) return reply;
        address = std::move(next);
        current = std::move(nextText);
    }
}

}  // namespace

HttpLimits CurrentHttpLimits() {
    std::lock_guard lock(gLimitsMutex);
    return gLimits;
}

void SetHttpLimits(const HttpLimits& limits) {
    std::lock_guard lock(gLimitsMutex);
    gLimits = limits;
}

Bytes HttpGet(std::string_view address) {
    if (address.empty()) return {};
    static const std::atomic<bool> kNeverCancelled{false};
    return Get(address, CurrentHttpLimits().bodyCap, kNeverCancelled).body;
}

Bytes HttpGetCancellable(std::string_view address, const std::atomic<bool>& cancelled) {
    return HttpFetch(address, CurrentHttpLimits().bodyCap, cancelled).body;
}

// A blocked WinINet call is not reliably cut short by closing its handle
// from another thread (Wine keeps it waiting until the receive time-out), so
// the fetch runs on a thread of its own that the caller can leave behind:
// on cancelling, the caller returns at once and the fetch stops reading at
// its next chunk or time-out, then ends by itself. The threads are reused
// (StartDetachedThread), and the hand-over uses slim locks, which cost no
// kernel call (under Wine no server call) while nobody has to wait.
HttpReply HttpFetch(std::string_view address, std::size_t bodyCap,
                    const std::atomic<bool>& cancelled) {
    if (cancelled.load() || address.empty()) return {};
    struct Shared {
        SRWLOCK lock = SRWLOCK_INIT;
        CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;
        bool done = false;
        std::atomic<bool> abandoned{false};
        HttpReply body;
    };
    auto shared = std::make_shared<Shared>();
    const bool started = StartDetachedThread([shared, bodyCap, text = std::string(address)] {
        HttpReply body = Get(text, bodyCap, shared->abandoned);
        AcquireSRWLockExclusive(&shared->lock);
        shared->body = std::move(body);
        shared->done = true;
        ReleaseSRWLockExclusive(&shared->lock);
        WakeConditionVariable(&shared->finished);
    });
    if (!started) return {};
    // The flag is looked at between waits: a stop is noticed within one.
    constexpr DWORD kCancelCheckMs = 50;
    AcquireSRWLockExclusive(&shared->lock);
    while (!shared->done) {
        if (cancelled.load()) {
            shared->abandoned = true;
            ReleaseSRWLockExclusive(&shared->lock);
            return {};
        }
        SleepConditionVariableSRW(&shared->finished, &shared->lock, kCancelCheckMs, 0);
    }
    HttpReply reply = std::move(shared->body);
    ReleaseSRWLockExclusive(&shared->lock);
    if (cancelled.load()) return {};
    return reply;
}

}  // namespace zelvo
