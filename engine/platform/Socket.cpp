#include "engine/platform/Socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tw {
namespace platform {

namespace {
thread_local int last_error = 0;

#ifdef MSG_NOSIGNAL
const int SEND_FLAGS = MSG_NOSIGNAL;  // a vanished peer gives EPIPE, not SIGPIPE
#else
const int SEND_FLAGS = 0;  // SO_NOSIGPIPE is set on every socket instead
#endif


// strerror_r comes in two flavours: XSI returns an int, GNU returns the text.
[[maybe_unused]] const char* pickErrorText(int result, const char* buffer) {
  return result == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* pickErrorText(const char* result, const char*) { return result; }

// Digits only, within 0..65535 (and not 0 unless allow_zero).
bool isValidPort(const std::string& port, bool allow_zero) {
  if (port.empty() || port.size() > 5) return false;
  long value = 0;
  for (char c : port) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 65535 && (allow_zero || value > 0);
}

// Resolves host:port for TCP; null (with the last error set) when it cannot.
addrinfo* resolve(const std::string& host, const std::string& port, bool passive) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | (passive ? AI_PASSIVE : 0);
  addrinfo* list = nullptr;
  const char* node = host.empty() ? nullptr : host.c_str();
  const int result = getaddrinfo(node, port.c_str(), &hints, &list);
  if (result == 0) return list;
  socketFail(result == EAI_SYSTEM ? errno : EHOSTUNREACH);
  return nullptr;
}

// Every socket we hand out is non-blocking, closed on exec and, where the
// system has no MSG_NOSIGNAL, marked not to raise SIGPIPE.
int prepare(int socket) {
  if (socketSetNonBlocking(socket, true) == -1) return -1;
  if (fcntl(socket, F_SETFD, FD_CLOEXEC) == -1) return socketFail(errno);
#ifdef SO_NOSIGPIPE
  const int on = 1;
  if (setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof(on)) == -1) return socketFail(errno);
#endif
  return 0;
}

// Closes a half-made socket without letting close() overwrite the first error.
int abandon(int socket) {
  const int code = last_error;
  ::close(socket);
  return socketFail(code);
}

int bindAndListen(const addrinfo* address) {
  const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
  if (fd == -1) return socketFail(errno);
  const int on = 1;
  const int off = 0;
  // Lets a restarted server take its port back while old connections linger.
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  if (address->ai_family == AF_INET6) setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof(off));
  if (bind(fd, address->ai_addr, address->ai_addrlen) == -1 || listen(fd, SOMAXCONN) == -1) {
    socketFail(errno);
    return abandon(fd);
  }
  if (prepare(fd) == -1) return abandon(fd);
  return fd;
}

int connectTo(const addrinfo* address, int timeout_ms) {
  const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
  if (fd == -1) return socketFail(errno);
  if (prepare(fd) == -1) return abandon(fd);
  if (::connect(fd, address->ai_addr, address->ai_addrlen) == 0) return fd;
  if (errno != EINPROGRESS) {
    socketFail(errno);
    return abandon(fd);
  }
  if (socketWaitConnected(fd, timeout_ms) == -1) return abandon(fd);
  return fd;
}
}  // namespace

int socketStartUp() { return 0; }

int socketCleanUp() { return 0; }

int socketLastError() { return last_error; }

void socketSetLastError(int code) { last_error = code; }

int socketFail(int code) {
  last_error = code;
  return -1;
}

bool socketWouldBlock(int code) { return code == EAGAIN || code == EWOULDBLOCK; }

bool socketPeerGone(int code) {
  return code == EPIPE || code == ECONNRESET || code == ENOTCONN || code == EBADF ||
         code == ECONNABORTED;
}

std::string socketErrorText(int code) {
  if (code <= 0) return "";
  char buffer[256] = "";
  const char* text = pickErrorText(strerror_r(code, buffer, sizeof(buffer)), buffer);
  if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) return "";
  return text;
}

int socketListen(const std::string& host, const std::string& port) {
  if (!socketsListen()) return socketFail(EOPNOTSUPP);
  if (!isValidPort(port, true)) return socketFail(EINVAL);
  addrinfo* list = resolve(host, port, true);
  if (list == nullptr) return NO_SOCKET;
  int fd = NO_SOCKET;
  for (const addrinfo* p = list; p != nullptr && fd == NO_SOCKET; p = p->ai_next) fd = bindAndListen(p);
  freeaddrinfo(list);
  return fd;
}

int socketConnect(const std::string& host, const std::string& port, int timeout_ms) {
  if (host.empty() || !isValidPort(port, false)) return socketFail(EINVAL);
  addrinfo* list = resolve(host, port, false);
  if (list == nullptr) return NO_SOCKET;
  int fd = NO_SOCKET;
  for (const addrinfo* p = list; p != nullptr && fd == NO_SOCKET; p = p->ai_next) {
    fd = connectTo(p, timeout_ms > 0 ? timeout_ms : 0);
  }
  freeaddrinfo(list);
  return fd;
}

int socketAccept(int listening_socket) {
  int fd = -1;
  do {
    fd = ::accept(listening_socket, nullptr, nullptr);
  } while (fd == -1 && errno == EINTR);
  if (fd == -1) return socketFail(errno);
  // Accepted sockets do not inherit non-blocking mode on POSIX; make them so,
  // so that sending to a peer that stopped reading never stalls the game loop.
  if (prepare(fd) == -1) return abandon(fd);
  return fd;
}

int socketLocalPort(int socket) {
  sockaddr_storage address{};
  socklen_t length = sizeof(address);
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == -1) return socketFail(errno);
  if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  return socketFail(EAFNOSUPPORT);
}

long socketSend(int socket, const void* buffer, std::size_t bytes) {
  if (buffer == nullptr && bytes > 0) return socketFail(EINVAL);
  ssize_t sent = -1;
  do {
    sent = ::send(socket, buffer, bytes, SEND_FLAGS);
  } while (sent == -1 && errno == EINTR);
  if (sent == -1) return socketFail(errno);
  return static_cast<long>(sent);
}

long socketReceive(int socket, void* buffer, std::size_t bytes) {
  if (buffer == nullptr && bytes > 0) return socketFail(EINVAL);
  ssize_t got = -1;
  do {
    got = ::recv(socket, buffer, bytes, MSG_DONTWAIT);
  } while (got == -1 && errno == EINTR);
  if (got == -1) return socketFail(errno);
  return static_cast<long>(got);
}

int socketClose(int socket) {
  // Not retried on EINTR: the descriptor is released either way, and a second
  // close could hit a descriptor that was reused in between.
  if (::close(socket) == -1) return socketFail(errno);
  return 0;
}

int socketSetNonBlocking(int socket, bool non_blocking) {
  const int flags = fcntl(socket, F_GETFL, 0);
  if (flags == -1) return socketFail(errno);
  const int wanted = non_blocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  if (wanted != flags && fcntl(socket, F_SETFL, wanted) == -1) return socketFail(errno);
  return 0;
}

}  // namespace platform
}  // namespace tw
