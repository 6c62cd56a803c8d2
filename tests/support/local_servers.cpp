#include "local_servers.h"

#include <algorithm>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zelvo::testing {

namespace {

constexpr int kPollMs = 20;

std::string Address(int port, std::string_view pathAndQuery) {
    return "http://127.0.0.1:" + std::to_string(port) + std::string(pathAndQuery);
}

Socket BoundSocket(int* port) {
    const Socket fd = NewTcpSocket();
    if (fd == kNoSocket) throw std::runtime_error("socket failed");
    *port = BindLoopback(fd, 0);
    if (*port == 0) {
        CloseSocket(fd);
        throw std::runtime_error("bind failed");
    }
    return fd;
}

}  // namespace

std::string RawConnection::readHead() {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int ready = WaitReadable(fd_, kPollMs);
        if (stopping_) return {};
        if (ready <= 0) continue;
        const std::ptrdiff_t got = Receive(fd_, buffer, sizeof buffer);
        if (got <= 0) return {};
        head.append(buffer, static_cast<std::size_t>(got));
        // A TLS handshake (first byte 0x16) will never end in a blank line:
        // answer it at once, as plain text the client must refuse.
        if (head[0] == '\x16') return {};
    }
    return head;
}

bool RawConnection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::ptrdiff_t sent = SendSome(fd_, bytes.data(), bytes.size());
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void RawConnection::holdUntilClosed() {
    char buffer[1024];
    while (!stopping_) {
        if (WaitReadable(fd_, kPollMs) <= 0) continue;
        if (Receive(fd_, buffer, sizeof buffer) <= 0) return;
    }
}

bool RawConnection::respond(int status, std::string_view body, std::string_view headers) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + (status < 400 ? " OK" : " Error") +
                       "\r\nContent-Length: " + std::to_string(body.size()) +
                       "\r\nConnection: close\r\n" + std::string(headers) + "\r\n";
    return send(head) && send(body);
}

RawServer::RawServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = BoundSocket(&port_);
    if (!Listen(listenFd_, 64)) {
        CloseSocket(listenFd_);
        throw std::runtime_error("listen failed");
    }
    acceptor_ = std::thread([this] { acceptLoop(); });
}

RawServer::~RawServer() {
    stopping_ = true;
    acceptor_.join();
    std::vector<std::thread> handlers;
    {
        std::lock_guard lock(mutex_);
        handlers.swap(handlers_);
    }
    for (auto& thread : handlers) thread.join();
    for (Socket fd : fds_) CloseSocket(fd);
    CloseSocket(listenFd_);
}

std::string RawServer::url(std::string_view pathAndQuery) const {
    return Address(port_, pathAndQuery);
}

std::vector<std::string> RawServer::heads() {
    std::lock_guard lock(mutex_);
    return heads_;
}

void RawServer::acceptLoop() {
    while (!stopping_) {
        if (WaitReadable(listenFd_, kPollMs) <= 0) continue;
        const Socket fd = AcceptConnection(listenFd_);
        if (fd == kNoSocket) continue;
        ++accepted_;
        std::lock_guard lock(mutex_);
        fds_.push_back(fd);
        handlers_.emplace_back([this, fd] {
            RawConnection connection(fd, stopping_);
            const std::string head = connection.readHead();
            if (!head.empty()) {
                std::lock_guard lock(mutex_);
                heads_.push_back(head);
            }
            handler_(connection, head);
            if (connection.resetAtEndRequested()) {
                std::lock_guard lock(mutex_);
                fds_.erase(std::find(fds_.begin(), fds_.end(), fd));
                ResetAndClose(fd);
                return;
            }
            // The client sees the end of the response as the connection closes.
            ShutdownBoth(fd);
        });
    }
}

#ifndef _WIN32
namespace {

bool Accepts(int port) {
    const Socket fd = NewTcpSocket();
    const bool ok = ConnectLoopback(fd, port);
    CloseSocket(fd);
    return ok;
}

}  // namespace

SelfSignedTlsServer::SelfSignedTlsServer() {
    char folder[] = "/tmp/zelvo-tls-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return;
    folder_ = folder;
    const std::string make =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
        " -keyout " +
        folder_ + "/key.pem -out " + folder_ + "/cert.pem >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return;
    // The port is chosen here and handed to openssl, which binds it again.
    const Socket probe = BoundSocket(&port_);
    CloseSocket(probe);
    const std::string accept = "127.0.0.1:" + std::to_string(port_);
    const std::string cert = folder_ + "/cert.pem";
    const std::string key = folder_ + "/key.pem";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execlp("openssl", "openssl", "s_server", "-quiet", "-www", "-accept", accept.c_str(),
                 "-cert", cert.c_str(), "-key", key.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 500 && pid_ > 0 && !ready_; ++i) {
        ready_ = Accepts(port_);
        if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

SelfSignedTlsServer::~SelfSignedTlsServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

std::string SelfSignedTlsServer::url(std::string_view pathAndQuery) const {
    return "https://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

#endif

RefusingPort::RefusingPort() {
    // Bound but never listening: connection attempts are refused, and no
    // other socket can take the port while this one holds it.
    fd_ = BoundSocket(&port_);
}

RefusingPort::~RefusingPort() { CloseSocket(fd_); }

std::string RefusingPort::url(std::string_view pathAndQuery) const {
    return Address(port_, pathAndQuery);
}

}  // namespace zelvo::testing
