// HttpGet on libcurl.
#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/http.h"

namespace zelvo {

namespace {

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

// The process's one session: libcurl initialised once and a share handle
// through which all calls share the name cache and TLS sessions. Each call
// still opens and closes its own connection. Never released: it lives as
// long as the process.
struct Session {
    CURLSH* share = nullptr;
    std::mutex locks[CURL_LOCK_DATA_LAST];
};

void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<Session*>(user)->locks[data].lock();
}

void UnlockShared(CURL*, curl_lock_data data, void* user) {
    static_cast<Session*>(user)->locks[data].unlock();
}

Session* TheSession() {
    static std::once_flag once;
    static Session* session = nullptr;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
        auto* created = new Session;
        created->share = curl_share_init();
        if (created->share != nullptr) {
            curl_share_setopt(created->share, CURLSHOPT_LOCKFUNC, LockShared);
            curl_share_setopt(created->share, CURLSHOPT_UNLOCKFUNC, UnlockShared);
            curl_share_setopt(created->share, CURLSHOPT_USERDATA, created);
            curl_share_setopt(created->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
            curl_share_setopt(created->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
        }
        session = created;
    });
    return session;
}

std::mutex gLimitsMutex;
HttpLimits gLimits;

struct Sink {
    Bytes body;
    std::size_t cap = 0;
    bool cut = false;  // bytes were offered beyond the cap
};

// libcurl calls this about once a second even while no byte moves (and far
// more often while bytes do), which is what bounds how long a cancelled fetch
// goes on. A non-zero result abandons the transfer.
int AbandonWhenCancelled(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const std::size_t length = size * count;
    const std::size_t room = sink->cap - sink->body.size();
    const std::size_t taken = length < room ? length : room;
    if (taken < length) sink->cut = true;
    sink->body.insert(sink->body.end(), reinterpret_cast<const std::uint8_t*>(data),
                      reinterpret_cast<const std::uint8_t*>(data) + taken);
    // Returning less than was offered ends the transfer: the body is full.
    return taken;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// Splits the address into its parts; false when it cannot be split or is not
// an http or https address. The path and query are kept exactly as given.
bool SetAddress(CURLU* url, const std::string& address) {
    if (curl_url_set(url, CURLUPART_URL, address.c_str(), CURLU_PATH_AS_IS) != CURLUE_OK) {
        return false;
    }
    char* scheme = nullptr;
    if (curl_url_get(url, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return false;
    const bool web = std::strcmp(scheme, "http") == 0 || std::strcmp(scheme, "https") == 0;
    curl_free(scheme);
    return web;
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
    static const std::atomic<bool> kNeverCancelled{false};
    return HttpGetCancellable(address, kNeverCancelled);
}

Bytes HttpGetCancellable(std::string_view address, const std::atomic<bool>& cancelled) {
    return HttpFetch(address, CurrentHttpLimits().bodyCap, cancelled).body;
}

HttpReply HttpFetch(std::string_view address, std::size_t bodyCap,
                    const std::atomic<bool>& cancelled) {
    if (cancelled.load()) return {};
    if (address.empty()) return {};
    // An address with a NUL byte cannot be handed on whole.
    if (address.find('\0') != std::string_view::npos) return {};
    Session* session = TheSession();
    if (session == nullptr) return {};
    const HttpLimits limits = CurrentHttpLimits();

    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<curl_slist, ListDeleter> headers(curl_slist_append(nullptr, "Accept: */*"));
    if (url == nullptr || easy == nullptr || headers == nullptr) return {};
    if (!SetAddress(url.get(), std::string(address))) return {};

    Sink sink;
    sink.cap = bodyCap < limits.bodyCap ? bodyCap : limits.bodyCap;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_CURLU, url.get());
    curl_easy_setopt(handle, CURLOPT_SHARE, session->share);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    // Replaces libcurl's own Accept header, so exactly one is sent.
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    // A server that answers without a status line (HTTP/0.9) still sends a
    // page, and the status is never looked at: its whole answer is the body.
    curl_easy_setopt(handle, CURLOPT_HTTP09_ALLOWED, 1L);
    // A direct connection, whatever the environment's proxy settings say.
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    // Redirects are followed below, one request at a time, so that the body
    // of the last response is what a redirect loop returns.
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, AbandonWhenCancelled);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &cancelled);

    for (int hop = 0;; ++hop) {
        sink.body.clear();
        sink.cut = false;
        const CURLcode result = curl_easy_perform(handle);
        // An abandoned fetch gives nothing, not the part read before the stop.
        if (cancelled.load()) return {};
        HttpReply reply;
        long status = 0;
        if (curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK) {
            reply.status = static_cast<int>(status);
        }
        // Refusing bytes beyond the cap ends the transfer with a write error.
        reply.cut = sink.cut;
        reply.complete = result == CURLE_OK;
        // On a failure the body holds what was read before it: nothing when
        // the connection or request failed, part of the body when reading did
        // (reset, stall, fewer bytes than announced, a broken chunk).
        reply.body = std::move(sink.body);
        if (result != CURLE_OK) return reply;
        char* location = nullptr;
        if (hop >= limits.maxRedirects ||
            curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &location) != CURLE_OK ||
            location == nullptr) {
            return reply;
        }
        // A redirect to an address that cannot be fetched ends with this body.
        if (!SetAddress(url.get(), location)) return reply;
    }
}

}  // namespace zelvo
