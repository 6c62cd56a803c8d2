#include "local_servers.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zelvo::testing {

namespace {

constexpr int kPollMs = 20;

std::string Address(int port, std::string_view pathAndQuery) {
    return "http://127.0.0.1:" + std::to_string(port) + std::string(pathAndQuery);
}

int BoundSocket(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind failed");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    *port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

LocalWebServer::LocalWebServer() : server_(std::make_unique<httplib::Server>()) {
    // Enough threads that thirty clients at once are all served at once.
    server_->new_task_queue = [] { return new httplib::ThreadPool(48); };
}

LocalWebServer::~LocalWebServer() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

httplib::Server& LocalWebServer::routes() { return *server_; }

void LocalWebServer::start() {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("no port for the local web server");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 1000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!server_->is_running()) throw std::runtime_error("the local web server did not start");
}

std::string LocalWebServer::url(std::string_view pathAndQuery) const {
    return Address(port_, pathAndQuery);
}

std::string RawConnection::readHead() {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd waiting{fd_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, kPollMs);
        if (stopping_) return {};
        if (ready <= 0) continue;
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) return {};
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

bool RawConnection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void RawConnection::holdUntilClosed() {
    char buffer[1024];
    while (!stopping_) {
        pollfd waiting{fd_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0) continue;
        if (::recv(fd_, buffer, sizeof buffer, 0) <= 0) return;
    }
}

RawServer::RawServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = BoundSocket(&port_);
    if (::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
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
    for (int fd : fds_) ::close(fd);
    ::close(listenFd_);
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
        pollfd waiting{listenFd_, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
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
            // The client sees the end of the response as the connection closes.
            ::shutdown(fd, SHUT_RDWR);
        });
    }
}

namespace {

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
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
    const int probe = BoundSocket(&port_);
    ::close(probe);
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

RefusingPort::RefusingPort() {
    // Bound but never listening: connection attempts are refused, and no
    // other socket can take the port while this one holds it.
    fd_ = BoundSocket(&port_);
}

RefusingPort::~RefusingPort() { ::close(fd_); }

std::string RefusingPort::url(std::string_view pathAndQuery) const {
    return Address(port_, pathAndQuery);
}

}  // namespace zelvo::testing
