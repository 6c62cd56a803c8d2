#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sockets.h"

// Servers that tests start on 127.0.0.1 at a port the system chooses. They
// are written on plain sockets (POSIX or Winsock), so the same servers run in
// the Windows build under Wine.
namespace zelvo::testing {

// One accepted connection of a RawServer.
class RawConnection {
  public:
    RawConnection(Socket fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}
    // Reads the request head up to and including the blank line; empty when
    // the peer closed first or the server is stopping.
    std::string readHead();
    // Sends everything; false once the peer has gone.
    bool send(std::string_view bytes);
    // Keeps the connection open without a word until the peer closes it or
    // the server stops.
    void holdUntilClosed();
    // Sends a whole response with the status, the extra header lines (each
    // ending in CR LF) and the body with its Content-Length.
    bool respond(int status, std::string_view body, std::string_view headers = {});
    // Ends the connection with a reset when the handler returns.
    void resetAtEnd() { reset_ = true; }
    bool resetAtEndRequested() const { return reset_; }

  private:
    Socket fd_;
    const std::atomic<bool>& stopping_;
    bool reset_ = false;
};

// A server on plain sockets that can misbehave in ways a web library will
// not: every accepted connection is handed to the handler on its own thread
// and closed when the handler returns. The request heads read through
// RawConnection::readHead are recorded.
class RawServer {
  public:
    using Handler = std::function<void(RawConnection& connection, const std::string& head)>;

    // The handler gets the request head already read (empty if none came).
    explicit RawServer(Handler handler);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int port() const { return port_; }
    std::string url(std::string_view pathAndQuery) const;
    std::vector<std::string> heads();
    int connections() const { return accepted_; }

  private:
    void acceptLoop();

    Handler handler_;
    Socket listenFd_ = kNoSocket;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::thread> handlers_;
    std::vector<Socket> fds_;
    std::vector<std::string> heads_;
};

#ifndef _WIN32
// An https server with a self-signed certificate for 127.0.0.1 (openssl
// s_server answering every request with a status page). ready() is false
// when openssl is missing.
class SelfSignedTlsServer {
  public:
    SelfSignedTlsServer();
    ~SelfSignedTlsServer();
    SelfSignedTlsServer(const SelfSignedTlsServer&) = delete;
    SelfSignedTlsServer& operator=(const SelfSignedTlsServer&) = delete;
    bool ready() const { return ready_; }
    std::string url(std::string_view pathAndQuery) const;

  private:
    std::string folder_;
    int port_ = 0;
    int pid_ = -1;
    bool ready_ = false;
};
#endif

// A port on 127.0.0.1 at which nothing listens: connecting is refused.
class RefusingPort {
  public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    int port() const { return port_; }
    std::string url(std::string_view pathAndQuery) const;

  private:
    Socket fd_ = kNoSocket;
    int port_ = 0;
};

}  // namespace zelvo::testing
