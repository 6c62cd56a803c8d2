#include "sockets.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zelvo::testing {

namespace {

// Winsock must be started once per process before the first socket.
void StartSockets() {
#ifdef _WIN32
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    (void)started;
#endif
}

}  // namespace

Socket NewTcpSocket() {
    StartSockets();
#ifdef _WIN32
    return ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
#else
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
}

void CloseSocket(Socket socket) {
#ifdef _WIN32
    ::closesocket(socket);
#else
    ::close(socket);
#endif
}

int WaitReadable(Socket socket, int timeoutMs) {
#ifdef _WIN32
    WSAPOLLFD waiting{socket, POLLRDNORM, 0};
    return ::WSAPoll(&waiting, 1, timeoutMs);
#else
    pollfd waiting{socket, POLLIN, 0};
    return ::poll(&waiting, 1, timeoutMs);
#endif
}

std::ptrdiff_t Receive(Socket socket, char* buffer, std::size_t size) {
    return ::recv(socket, buffer, static_cast<int>(size), 0);
}

std::ptrdiff_t SendSome(Socket socket, const char* data, std::size_t size) {
#ifdef _WIN32
    return ::send(socket, data, static_cast<int>(size), 0);
#else
    return ::send(socket, data, size, MSG_NOSIGNAL);
#endif
}

void ShutdownSending(Socket socket) {
#ifdef _WIN32
    ::shutdown(socket, SD_SEND);
#else
    ::shutdown(socket, SHUT_WR);
#endif
}

void ShutdownBoth(Socket socket) {
#ifdef _WIN32
    ::shutdown(socket, SD_BOTH);
#else
    ::shutdown(socket, SHUT_RDWR);
#endif
}

void ResetAndClose(Socket socket) {
    linger abort{};
    abort.l_onoff = 1;
    abort.l_linger = 0;
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                 sizeof abort);
    CloseSocket(socket);
}

Socket AcceptConnection(Socket listener) { return ::accept(listener, nullptr, nullptr); }

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

}  // namespace

int BindLoopback(Socket socket, int port) {
    sockaddr_in address = Loopback(port);
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 0;
    socklen_t length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    return ntohs(address.sin_port);
}

bool ConnectLoopback(Socket socket, int port) {
    sockaddr_in address = Loopback(port);
    return ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool Listen(Socket socket, int backlog) { return ::listen(socket, backlog) == 0; }

}  // namespace zelvo::testing
