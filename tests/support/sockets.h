#pragma once

// The few socket calls the local test servers make, on Winsock in the
// Windows build and on POSIX sockets elsewhere. No system header comes with
// this one, so the Windows headers' macros stay out of the tests.
#include <cstddef>
#include <cstdint>

namespace zelvo::testing {

#ifdef _WIN32
using Socket = std::uintptr_t;  // SOCKET
inline constexpr Socket kNoSocket = ~Socket{0};
#else
using Socket = int;
inline constexpr Socket kNoSocket = -1;
#endif

// A TCP socket (not inherited by child processes); Winsock is started on first use.
Socket NewTcpSocket();
void CloseSocket(Socket socket);
// Whether the socket has something to read (or a connection to accept)
// within timeoutMs; negative on an error.
int WaitReadable(Socket socket, int timeoutMs);
std::ptrdiff_t Receive(Socket socket, char* buffer, std::size_t size);
// Sends without raising SIGPIPE when the peer has gone.
std::ptrdiff_t SendSome(Socket socket, const char* data, std::size_t size);
Socket AcceptConnection(Socket listener);
void ShutdownSending(Socket socket);
void ShutdownBoth(Socket socket);
// Closes the socket with a reset instead of an orderly end: the peer's next
// read fails.
void ResetAndClose(Socket socket);
// Binds to 127.0.0.1 at the given port (0: one the system chooses) and gives
// the port bound; 0 on failure.
int BindLoopback(Socket socket, int port);
// Connects to 127.0.0.1 at the port; false when refused.
bool ConnectLoopback(Socket socket, int port);
bool Listen(Socket socket, int backlog);

}  // namespace zelvo::testing
