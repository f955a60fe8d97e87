#include "engine/network/NetworkManager.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <utility>

#include "engine/core/LoopState.h"
#include "engine/core/EventRouting.h"
#include "engine/core/LogManager.h"
#include "engine/network/EventNetworkAccept.h"
#include "engine/network/EventNetworkClose.h"
#include "engine/platform/Socket.h"

namespace tw {

namespace {
const int DEFAULT_MAX_CONNECTIONS = 3;

// Tells every interested object about socket through an event of type E.
template <typename E>
void announce(const Manager& manager, int socket) {
  E event;
  event.setSocket(socket);
  event.setBytes(0);
  manager.onEvent(&event);
}

bool isValidMessage(const void* buffer, int bytes) {
  return bytes >= 0 && (buffer != nullptr || bytes == 0);
}

// 1, 10, 100, ...: the counts of blocked sends at which a line is written.
bool isPowerOfTen(long long n) {
  while (n >= 10 && n % 10 == 0) n /= 10;
  return n == 1;
}
}  // namespace

NetworkManager::NetworkManager() : listening_socket(-1), max_connections(DEFAULT_MAX_CONNECTIONS) {
  setType("NetworkManager");
}

namespace {
Manager& instance() { return NetworkManager::getInstance(); }
// The names are spelled out: the list of them in another source may not be
// made yet while the program starts.
bool claimNetworkTypes() {
  for (const char* type : {"tw-network", "tw-keyboard-network", "tw-mouse-network",
                           "tw-network-accept", "tw-network-close", "tw-network-connect",
                           "tw-network-create", "tw-custom-network", "tw-network-delete",
                           "tw-network-game-over", "tw-network-sync"}) {
    EventRouting::claim(type, instance);
  }
  return true;
}
const bool claimed = claimNetworkTypes();
}  // namespace

// At program exit the log may already be gone, so whatever is still open is
// closed quietly and nobody is told.
NetworkManager::~NetworkManager() {
  for (int socket : sockets) platform::socketClose(socket);
  if (listening_socket != -1) platform::socketClose(listening_socket);
}

NetworkManager& NetworkManager::getInstance() {
  static NetworkManager instance;
  return instance;
}

bool NetworkManager::isValid(std::string event_type) const {
  if (isNetworkEventType(event_type)) return true;
  LogManager::getInstance().writeLog(
      "NetworkManager::isValid(): Error! NetworkManager does not handle %s.", event_type.c_str());
  return false;
}

int NetworkManager::startUp() {
  const LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                 getType().c_str());
    return -1;
  }
  if (platform::socketStartUp() != 0) {
    const int code = platform::socketLastError();
    log.writeLog("NetworkManager::startUp(): Error! Sockets cannot start: %s (code %d).",
                 platform::socketErrorText(code).c_str(), code);
    return -1;
  }
  Manager::startUp();
  log.writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  close(-1);
  if (isServer()) closeServer();
  if (platform::socketCleanUp() != 0) logErrorText(platform::socketLastError());
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

int NetworkManager::setUpServer(std::string port, std::string host) {
  const LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (isServer()) {
    log.writeLog("NetworkManager::setUpServer(): Error! Already listening on port %d.",
                 getServerPort());
    return -1;
  }
  const int socket = platform::socketListen(host, port);
  if (socket == platform::NO_SOCKET) {
    log.writeLog("NetworkManager::setUpServer(): Error! Unable to listen on port '%s':",
                 port.c_str());
    logErrorText(platform::socketLastError());
    return -1;
  }
  listening_socket = socket;
  log.writeLog(1, "NetworkManager::setUpServer(): Listening on port %d, socket %d.",
               getServerPort(), socket);
  return 0;
}

int NetworkManager::closeServer() {
  const LogManager& log = LogManager::getInstance();
  if (!isServer()) {
    log.writeLog("NetworkManager::closeServer(): Error! Not setup as server.");
    return -1;
  }
  const int socket = listening_socket;
  listening_socket = -1;  // released by the system even when close() fails
  if (platform::socketClose(socket) == -1) {
    log.writeLog("NetworkManager::closeServer(): Error! close() returned:");
    logErrorText(platform::socketLastError());
    return -1;
  }
  return 0;
}

int NetworkManager::getServerPort() const {
  return isServer() ? platform::socketLocalPort(listening_socket) : -1;
}

bool NetworkManager::isServer() const { return listening_socket != -1; }

int NetworkManager::connect(std::string host, std::string port) {
  const LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (getConnectionCount() >= max_connections) {
    log.writeLog("NetworkManager::connect(): Error! Already at max connections (%d).",
                 max_connections);
    return -1;
  }
  const int socket = platform::socketConnect(host, port, CONNECT_TIMEOUT_MS);
  if (socket == platform::NO_SOCKET) {
    log.writeLog("NetworkManager::connect(): Error! Connecting to %s:%s failed:", host.c_str(),
                 port.c_str());
    logErrorText(platform::socketLastError());
    return -1;
  }
  log.writeLog(1, "NetworkManager::connect(): Connected to %s:%s, socket %d.", host.c_str(),
               port.c_str(), socket);
  sockets.push_back(socket);
  connection_value.push_back(0);
  send_queues.emplace_back();
  blocked_sends.push_back(0);
  return socket;
}

int NetworkManager::setMaxConnections(int new_max_connections) {
  if (new_max_connections < 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::setMaxConnections(): Error! Negative maximum (%d).", new_max_connections);
    return -1;
  }
  max_connections = new_max_connections;
  return 0;
}

int NetworkManager::getMaxConnections() const { return max_connections; }

int NetworkManager::accept() {
  const LogManager& log = LogManager::getInstance();
  if (!isServer()) {
    log.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  if (getConnectionCount() >= max_connections) {
    log.writeLog(20, "NetworkManager::accept(): Won't check for new connetions since at max.");
    log.writeLog(20, "\tUse NM.setMaxConnections() to change max.");
    return -1;
  }
  const int socket = platform::socketAccept(listening_socket);
  if (socket == platform::NO_SOCKET) {
    const int code = platform::socketLastError();
    if (platform::socketWouldBlock(code)) {
      log.writeLog(15, "NetworkManager::accept(): No new connection. Not blocking.");
      return -1;
    }
    log.writeLog("NetworkManager::accept(): Error! accept() returned:");
    logErrorText(code);
    return -2;
  }
  log.writeLog(1, "NetworkManager::accept(): New connection, socket %d.", socket);
  sockets.push_back(socket);
  connection_value.push_back(0);
  send_queues.emplace_back();
  blocked_sends.push_back(0);
  announce<EventNetworkAccept>(*this, socket);
  return socket;
}

bool NetworkManager::isConnected(int socket) const {
  if (socket == -1) return !sockets.empty();
  if (indexOf(socket) >= 0) return true;
  LogManager::getInstance().writeLog("NetworkManager::isConnected(): Warning! Socket %d not connected.",
                                     socket);
  return false;
}

int NetworkManager::send(const void* buffer, int bytes, int socket) {
  const LogManager& log = LogManager::getInstance();
  // -1 means "any connection" to isConnected, never a socket to send on.
  if (socket == -1 || !isConnected(socket)) {
    log.writeLog("NetworkManager::send(): Error! Socket %d not connected. Unable to send.", socket);
    return -1;
  }
  if (!isValidMessage(buffer, bytes)) {
    log.writeLog("NetworkManager::send(): Error! Invalid message of %d bytes.", bytes);
    return -1;
  }
  log.writeLog(15, "NetworkManager::send(): Socket %d. Calling ::send()...", socket);
  const long sent = platform::socketSend(socket, buffer, static_cast<size_t>(bytes));
  if (sent == -1) {
    const int code = platform::socketLastError();
    if (platform::socketWouldBlock(code)) return refuseBlockedSend(indexOf(socket), code);
    log.writeLog("NetworkManager::send(): Error! Return is -1.");
    logErrorText(code);
    if (platform::socketPeerGone(code)) {
      log.writeLog(1, "\tsocket is closed");
      close(socket);
    }
    return -1;
  }
  if (sent < bytes) {
    log.writeLog("NetworkManager::send(): Warning! %d of %d bytes sent.", static_cast<int>(sent),
                 bytes);
    return -1;
  }
  return 0;
}

// A peer that stops reading makes every later send would-block, many times a
// frame: the first of a connection is logged in full, then only the count, at
// 10, 100, 1000 ... and when the connection closes.
int NetworkManager::refuseBlockedSend(int index, int code) {
  const LogManager& log = LogManager::getInstance();
  const long long count = ++blocked_sends[static_cast<size_t>(index)];
  if (count == 1) {
    log.writeLog("NetworkManager::send(): Error! Return is -1.");
    logErrorText(code);
  } else if (isPowerOfTen(count)) {
    log.writeLog("NetworkManager::send(): Warning! %lld sends on socket %d would have blocked.",
                 count, sockets[static_cast<size_t>(index)]);
  }
  return -1;
}

int NetworkManager::receive(void* buffer, int bytes, int socket) {
  const LogManager& log = LogManager::getInstance();
  if (indexOf(socket) < 0) {
    log.writeLog("NetworkManager::receive(): Error! Socket %d not connected. Unable to receive.",
                 socket);
    return -1;
  }
  if (buffer == nullptr || bytes <= 0) {
    log.writeLog("NetworkManager::receive(): Error! Invalid buffer of %d bytes.", bytes);
    return -1;
  }
  const long got = platform::socketReceive(socket, buffer, static_cast<size_t>(bytes));
  if (got > 0) return static_cast<int>(got);
  if (got == 0) {
    log.writeLog("NetworkManager::receive(): Note! Socket %d closed by peer.", socket);
    close(socket);
    return -1;
  }
  const int code = platform::socketLastError();
  if (platform::socketWouldBlock(code)) return 0;
  log.writeLog("NetworkManager::receive(): Error! recv() returned:");
  logErrorText(code);
  if (platform::socketPeerGone(code)) close(socket);
  return -1;
}

int NetworkManager::close(int socket) {
  if (socket != -1) {
    const int index = indexOf(socket);
    if (index < 0) {
      LogManager::getInstance().writeLog("NetworkManager::close(): Error! Socket %d not connected.",
                                         socket);
      return -1;
    }
    return closeAt(index);
  }
  // Close handlers may close or open connections themselves, so the sockets
  // to close are fixed first and looked up afresh one by one.
  const std::vector<int> to_close = sockets;
  int result = 0;
  for (int each : to_close) {
    const int index = indexOf(each);
    if (index >= 0 && closeAt(index) == -1) result = -1;
  }
  return result;
}

// The connection leaves the lists before anyone is told, so a close handler
// sees it gone and cannot send on (or close again) a released descriptor.
int NetworkManager::closeAt(int index) {
  const int socket = sockets[static_cast<size_t>(index)];
  const long long blocked = blocked_sends[static_cast<size_t>(index)];
  if (blocked > 1) {
    LogManager::getInstance().writeLog(
        "NetworkManager::close(): Note! %lld sends on socket %d would have blocked.", blocked, socket);
  }
  dropAt(index);
  int result = 0;
  if (platform::socketClose(socket) == -1) {
    // The system releases the descriptor even then; it is not kept for a retry,
    // which could close an unrelated descriptor that reused the number.
    LogManager::getInstance().writeLog("NetworkManager::close(): Error! close() returned:");
    logErrorText(platform::socketLastError());
    result = -1;
  }
  announce<EventNetworkClose>(*this, socket);
  return result;
}

void NetworkManager::dropAt(int index) {
  const auto offset = static_cast<std::ptrdiff_t>(index);
  sockets.erase(sockets.begin() + offset);
  connection_value.erase(connection_value.begin() + offset);
  send_queues.erase(send_queues.begin() + offset);
  blocked_sends.erase(blocked_sends.begin() + offset);
}

int NetworkManager::queueMessage(const void* buffer, int bytes, int socket, int due_step) {
  const LogManager& log = LogManager::getInstance();
  const int index = indexOf(socket);
  if (index < 0) {
    log.writeLog("NetworkManager::queueMessage(): Error! Socket %d not connected.", socket);
    return -1;
  }
  if (!isValidMessage(buffer, bytes)) {
    log.writeLog("NetworkManager::queueMessage(): Error! Invalid message of %d bytes.", bytes);
    return -1;
  }
  DelayedMessage message{bytes, std::unique_ptr<char[]>(new (std::nothrow) char[bytes > 0 ? bytes : 1]),
                         due_step};
  if (!message.data) {
    log.writeLog("NetworkManager::queueMessage(): Error! No memory for %d bytes.", bytes);
    return -1;
  }
  if (bytes > 0) std::memcpy(message.data.get(), buffer, static_cast<size_t>(bytes));
  send_queues[static_cast<size_t>(index)].push_back(std::move(message));
  return 0;
}

int NetworkManager::sendQueued() { return sendQueued(LoopState::getInstance().getStepCount()); }

int NetworkManager::sendQueued(int current_step) {
  if (sockets.empty()) return 0;
  // A failed send may close its connection and shift the lists, so each
  // connection is found again by its socket rather than by position.
  const std::vector<int> connections = sockets;
  int total = 0;
  for (int socket : connections) total += sendDueOn(socket, current_step);
  return total;
}

// Sends socket's due messages in order, stopping at the first one not yet due
// or when the connection closes underway.
int NetworkManager::sendDueOn(int socket, int current_step) {
  int total = 0;
  for (;;) {
    const int index = indexOf(socket);
    if (index < 0) break;
    std::deque<DelayedMessage>& queue = send_queues[static_cast<size_t>(index)];
    if (queue.empty() || queue.front().due_step > current_step) break;
    const DelayedMessage message = std::move(queue.front());
    queue.pop_front();
    total += send(message.data.get(), message.bytes, socket);
  }
  return total;
}

int NetworkManager::getConnectionCount() const { return static_cast<int>(sockets.size()); }

int NetworkManager::getSocket(int index) const {
  if (index < 0 || index >= getConnectionCount()) return -1;
  return sockets[static_cast<size_t>(index)];
}

int NetworkManager::getConnectionValue(int socket) const {
  const int index = indexOf(socket);
  return index < 0 ? 0 : connection_value[static_cast<size_t>(index)];
}

int NetworkManager::setConnectionValue(int socket, int value) {
  const int index = indexOf(socket);
  if (index < 0) {
    LogManager::getInstance().writeLog(
        "NetworkManager::setConnectionValue(): Error! Socket %d not connected.", socket);
    return -1;
  }
  connection_value[static_cast<size_t>(index)] = value;
  return 0;
}

int NetworkManager::getQueuedCount(int socket) const {
  const int index = indexOf(socket);
  return index < 0 ? -1 : static_cast<int>(send_queues[static_cast<size_t>(index)].size());
}

int NetworkManager::indexOf(int socket) const {
  for (size_t i = 0; i < sockets.size(); i++) {
    if (sockets[i] == socket) return static_cast<int>(i);
  }
  return -1;
}

void NetworkManager::logErrorText(int code) const {
  const std::string text = platform::socketErrorText(code);
  if (text.empty()) return;
  LogManager::getInstance().writeLog("\t%d - %s", code, text.c_str());
}

}  // namespace tw
