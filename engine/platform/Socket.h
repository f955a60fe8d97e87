// The operating system's TCP sockets as the network manager needs them: library
// start-up and clean-up, listening, connecting, accepting, sending, receiving,
// closing, and the last error with its text. Built on POSIX sockets; in a
// browser page on Emscripten's, which carry a connection over a WebSocket
// and cannot listen (HostSockets.cpp and PageSockets.cpp hold what differs).
#pragma once

#include <cstddef>
#include <string>

namespace tw {
namespace platform {

const int NO_SOCKET = -1;

// False where nothing can listen for connections (a browser page).
bool socketsListen();

// Start and stop the socket library. POSIX needs no such step, so both succeed.
int socketStartUp();
int socketCleanUp();

// The error code of the last socket call of this thread that failed (an errno
// value), kept apart from errno so that logging in between cannot change it.
int socketLastError();
// Sets that code, for layers over the sockets that report in the same way.
void socketSetLastError(int code);
// Sets that code and returns -1: how a failing socket call ends.
int socketFail(int code);
// True for the code of a non-blocking call that had nothing to do yet.
bool socketWouldBlock(int code);
// True for the codes that mean the connection is gone (EPIPE, ECONNRESET, ...).
bool socketPeerGone(int code);
// The system's text for an error code, or "" when the system has none.
std::string socketErrorText(int code);

// A non-blocking listening socket bound to host (empty: every local address)
// and port ("0": an ephemeral port), or NO_SOCKET.
int socketListen(const std::string& host, const std::string& port);
// A non-blocking socket connected to host:port within timeout_ms, or NO_SOCKET.
int socketConnect(const std::string& host, const std::string& port, int timeout_ms);
// Waits up to timeout_ms for a non-blocking connect on socket to finish: 0
// when connected, -1 (with the last error set) when refused or timed out.
int socketWaitConnected(int socket, int timeout_ms);
// The next pending connection as a non-blocking socket, or NO_SOCKET (a
// would-block code when none is pending).
int socketAccept(int listening_socket);
// The local port a socket is bound to, or -1.
int socketLocalPort(int socket);

// Bytes sent (possibly fewer than asked) or -1. Never raises SIGPIPE.
long socketSend(int socket, const void* buffer, std::size_t bytes);
// Bytes read, 0 when the peer closed the connection, -1 on error (a
// would-block code when nothing is waiting). Never waits.
long socketReceive(int socket, void* buffer, std::size_t bytes);
// True when the peer of a connected socket has closed or reset it (nothing
// is read: waiting bytes stay for socketReceive). Never waits.
bool socketPeerClosed(int socket);
int socketClose(int socket);
int socketSetNonBlocking(int socket, bool non_blocking);

}  // namespace platform
}  // namespace tw
