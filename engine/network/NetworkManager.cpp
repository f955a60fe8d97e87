#include "engine/network/NetworkManager.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <new>
#include <utility>

#include "engine/core/Config.h"
#include "engine/core/EventRouting.h"
#include "engine/core/LogManager.h"
#include "engine/core/LoopState.h"
#include "engine/core/RepeatedLog.h"
#include "engine/network/EventNetworkAccept.h"
#include "engine/network/EventNetworkClose.h"
#include "engine/network/WebSocketListener.h"
#include "engine/platform/Socket.h"
#include "engine/platform/WebSocketStream.h"

namespace tw {

namespace {
const int DEFAULT_MAX_CONNECTIONS = 3;
const std::size_t LENGTH_BYTES = 4;        // the length in front of each whole message
const std::size_t READ_CHUNK = 64 * 1024;  // bytes asked of the system per read

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

void appendLength(std::string& out, std::uint32_t length) {
  for (std::size_t i = 0; i < LENGTH_BYTES; i++) {
    out += static_cast<char>((length >> (8 * i)) & 0xFF);
  }
}

std::uint32_t lengthAt(const char* bytes) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < LENGTH_BYTES; i++) {
    length |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  }
  return length;
}

// Peers that reset their connections, or announce messages too long, over
// and over would fill the log: after the first, only counts are written.
RepeatedLog& resets() {
  static RepeatedLog counter("connections reset by their peer");
  return counter;
}
RepeatedLog& closedByPeer() {
  static RepeatedLog counter("connections closed by their peer");
  return counter;
}
RepeatedLog& refusedAtMax() {
  static RepeatedLog counter("connections refused at max_connections");
  return counter;
}
RepeatedLog& badFrames() {
  static RepeatedLog counter("WebSocket connections closed for a bad frame");
  return counter;
}
RepeatedLog& longMessages() {
  static RepeatedLog counter("connections closed for a message over max_message_bytes");
  return counter;
}
}  // namespace

struct NetworkManager::Connection {
  struct DelayedMessage {
    int bytes;
    std::unique_ptr<char[]> data;
    int due_step;  // game loop step from which it may be sent
  };

  explicit Connection(int new_socket)
      : socket(new_socket),
        blocked_sends("sends on socket " + std::to_string(new_socket) + " would have blocked") {}

  // What remains of inbox after the messages already taken.
  std::size_t unread() const { return inbox.size() - inbox_start; }

  int socket;
  int value = 0;
  std::deque<DelayedMessage> send_queue;
  RepeatedLog blocked_sends;
  std::string inbox;            // bytes received for whole messages
  std::size_t inbox_start = 0;  // where the next message starts in inbox
  std::string outbox;           // whole messages' bytes the system has not taken yet
  std::unique_ptr<platform::WebSocketStream> websocket;  // null for a plain TCP peer
};

// The longest WebSocket message a peer may send: one whole message with its
// length, as the engine's own peers send them.
std::size_t webSocketMessageLimit(int max_message_bytes) {
  return static_cast<std::size_t>(max_message_bytes) + LENGTH_BYTES;
}

NetworkManager::NetworkManager()
    : listening_socket(-1),
      max_connections(DEFAULT_MAX_CONNECTIONS),
      max_message_bytes(Config::getInstance().getMaxMessageBytes()) {
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
  for (const auto& connection : connections) platform::socketClose(connection->socket);
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
  max_message_bytes = Config::getInstance().getMaxMessageBytes();
  Manager::startUp();
  log.writeLog(5, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  close(-1);
  if (isServer()) closeServer();
  if (platform::socketCleanUp() != 0) logErrorText(platform::socketLastError());
  resets().close("NetworkManager::shutDown()");
  closedByPeer().close("NetworkManager::shutDown()");
  refusedAtMax().close("NetworkManager::shutDown()");
  longMessages().close("NetworkManager::shutDown()");
  badFrames().close("NetworkManager::shutDown()");
  Manager::shutDown();
  LogManager::getInstance().writeLog(5, "NetworkManager::shutDown(): successfully stopped.");
}

int NetworkManager::setUpServer(std::string port, std::string host) {
  const LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (listening_socket != -1) {
    log.writeLog("NetworkManager::setUpServer(): Error! Already listening on port %d.",
                 getServerPort());
    return -1;
  }
  if (!platform::socketsListen()) return refuseListening("setUpServer");
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
  const int websocket_port = Config::getInstance().getWebSocketPort();
  if (websocket_port >= 0 && setUpWebSocketServer(std::to_string(websocket_port), host) != 0) {
    closeServer();
    return -1;
  }
  return 0;
}

int NetworkManager::setUpWebSocketServer(std::string port, std::string host) {
  const LogManager& log = LogManager::getInstance();
  if (!isStarted()) {
    log.writeLog("%s not started!", getType().c_str());
    return -1;
  }
  if (websockets) {
    log.writeLog("NetworkManager::setUpWebSocketServer(): Error! Already listening on port %d.",
                 getWebSocketPort());
    return -1;
  }
  if (!platform::socketsListen()) return refuseListening("setUpWebSocketServer");
  auto listener = std::make_unique<WebSocketListener>();
  if (listener->listen(host, port) != 0) {
    log.writeLog(
        "NetworkManager::setUpWebSocketServer(): Error! Unable to listen on port '%s':",
        port.c_str());
    logErrorText(platform::socketLastError());
    return -1;
  }
  websockets = std::move(listener);
  log.writeLog(1, "NetworkManager::setUpWebSocketServer(): Listening on port %d for WebSocket.",
               getWebSocketPort());
  return 0;
}

// A browser page connects but cannot listen: one line says so.
int NetworkManager::refuseListening(const char* operation) const {
  LogManager::getInstance().writeLog(
      "NetworkManager::%s(): Error! A browser page cannot listen for connections; it can "
      "connect to a host's WebSocket port.",
      operation);
  return -1;
}

int NetworkManager::getWebSocketPort() const { return websockets ? websockets->getPort() : -1; }

int NetworkManager::closeServer() {
  const LogManager& log = LogManager::getInstance();
  if (!isServer()) {
    log.writeLog("NetworkManager::closeServer(): Error! Not setup as server.");
    return -1;
  }
  websockets.reset();
  if (listening_socket == -1) return 0;
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
  return listening_socket != -1 ? platform::socketLocalPort(listening_socket) : -1;
}

bool NetworkManager::isServer() const { return listening_socket != -1 || websockets != nullptr; }

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
  return addConnection(socket);
}

int NetworkManager::addConnection(int socket) {
  connections.push_back(std::make_unique<Connection>(socket));
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
  if (listening_socket == -1) {
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
  addConnection(socket);
  announce<EventNetworkAccept>(*this, socket);
  return socket;
}

int NetworkManager::acceptPending() {
  if (!isServer()) {
    LogManager::getInstance().writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  int accepted = 0;
  for (int i = 0; listening_socket != -1 && i < MAX_ACCEPTS_PER_FRAME; i++) {
    if (isServer() && getConnectionCount() >= max_connections) makeRoom();
    if (isServer() && getConnectionCount() >= max_connections) {
      if (refusePending() != 0) break;
      continue;
    }
    const int socket = accept();
    if (socket == -2) return -2;
    if (socket < 0) break;
    accepted++;
  }
  return accepted + acceptWebSockets();
}

// Advances the WebSocket handshakes; each client that completed one becomes
// a connection, announced as a TCP one is. Returns how many did.
int NetworkManager::acceptWebSockets() {
  if (!websockets) return 0;
  if (getConnectionCount() >= max_connections) makeRoom();
  std::vector<WebSocketListener::Peer> ready;
  websockets->poll(max_connections - getConnectionCount(), ready,
                   webSocketMessageLimit(max_message_bytes));
  for (WebSocketListener::Peer& peer : ready) {
    LogManager::getInstance().writeLog(
        1, "NetworkManager::accept(): New WebSocket connection, socket %d.", peer.socket);
    addConnection(peer.socket);
    connections.back()->websocket = std::move(peer.stream);
    announce<EventNetworkAccept>(*this, peer.socket);
  }
  return static_cast<int>(ready.size());
}

// Closes the connections whose peer has left, unless the game has yet to
// take a message they sent. Close handlers may close others: each socket is
// looked up afresh.
void NetworkManager::makeRoom() {
  std::vector<int> sockets;
  for (const auto& connection : connections) sockets.push_back(connection->socket);
  for (int socket : sockets) {
    const Connection* p_connection = find(socket);
    if (p_connection == nullptr || p_connection->unread() > 0) continue;
    if (!platform::socketPeerClosed(socket)) continue;
    if (closedByPeer().count("NetworkManager::accept()")) {
      LogManager::getInstance().writeLog(
          "NetworkManager::accept(): Note! Socket %d closed by peer; closed to make room.", socket);
    }
    close(socket);
  }
}

// Takes one pending connection and closes it at once. 0 when one was
// refused, -1 when none was pending (or accepting failed).
int NetworkManager::refusePending() {
  const int socket = platform::socketAccept(listening_socket);
  if (socket == platform::NO_SOCKET) return -1;
  platform::socketClose(socket);
  if (refusedAtMax().count("NetworkManager::accept()")) {
    LogManager::getInstance().writeLog(
        "NetworkManager::accept(): Warning! New connection refused: already at max connections "
        "(%d).",
        max_connections);
  }
  return 0;
}

bool NetworkManager::isConnected(int socket) const {
  if (socket == -1) return !connections.empty();
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
  const long sent = transmit(*find(socket), buffer, static_cast<size_t>(bytes));
  if (sent == -1) {
    const int code = platform::socketLastError();
    if (platform::socketWouldBlock(code)) return refuseBlockedSend(*find(socket), code);
    if (platform::socketPeerGone(code)) {
      dropLostPeer(socket, code, "NetworkManager::send()");
      return -1;
    }
    log.writeLog("NetworkManager::send(): Error! Return is -1.");
    logErrorText(code);
    return -1;
  }
  if (sent < bytes) {
    log.writeLog("NetworkManager::send(): Warning! %d of %d bytes sent.", static_cast<int>(sent),
                 bytes);
    return -1;
  }
  return 0;
}

// Said while playing, each refusal counted on the problem list.
void NetworkManager::noteFullQueue(int socket) const {
  LogManager::getInstance().writeNotice(
      "the peer on socket %d is not reading: sends are refused (its send queue is full)", socket);
}

// A peer that stops reading makes every later send would-block, many times a
// frame: only the first of a connection is logged in full.
int NetworkManager::refuseBlockedSend(Connection& connection, int code) {
  noteFullQueue(connection.socket);
  if (connection.blocked_sends.count("NetworkManager::send()")) {
    LogManager::getInstance().writeLog("NetworkManager::send(): Error! Return is -1.");
    logErrorText(code);
  }
  return -1;
}

// A reset (or otherwise vanished) peer ends its connection. Many peers doing
// it, as a flood of connections may, would fill the log line by line.
void NetworkManager::dropLostPeer(int socket, int code, const char* where) {
  if (resets().count(where)) {
    LogManager::getInstance().writeLog("%s: Error! Socket %d lost:", where, socket);
    logErrorText(code);
  }
  close(socket);
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
  const long got = takeIn(*find(socket), buffer, static_cast<size_t>(bytes));
  if (got > 0) return static_cast<int>(got);
  return endOfReading(socket, got, "NetworkManager::receive()");
}

// What a read that gave got (0 or -1) means: 0 when nothing was waiting, -1
// when the peer closed or lost the connection (closed here too) or on an error.
int NetworkManager::endOfReading(int socket, long got, const char* where) {
  const LogManager& log = LogManager::getInstance();
  if (got == 0) {
    if (closedByPeer().count(where)) log.writeLog("%s: Note! Socket %d closed by peer.", where, socket);
    close(socket);
    return -1;
  }
  const int code = platform::socketLastError();
  if (platform::socketWouldBlock(code)) return 0;  // nothing was waiting
  if (platform::socketPeerGone(code)) {
    dropLostPeer(socket, code, where);
    return -1;
  }
  log.writeLog("%s: Error! recv() returned:", where);
  logErrorText(code);
  return -1;
}

int NetworkManager::sendMessage(const std::string& message, int socket) {
  // Checked here too: a string's size may not fit the int of the other form.
  if (message.size() > static_cast<std::size_t>(max_message_bytes)) {
    LogManager::getInstance().writeLog(
        "NetworkManager::sendMessage(): Error! Message of %zu bytes is over max_message_bytes "
        "(%d). Not sent.",
        message.size(), max_message_bytes);
    return -1;
  }
  return sendMessage(message.data(), static_cast<int>(message.size()), socket);
}

// The message goes behind whatever still waits, so the peer reads the
// messages whole and in order. What waits is bounded by one whole message.
int NetworkManager::sendMessage(const void* buffer, int bytes, int socket) {
  const LogManager& log = LogManager::getInstance();
  Connection* p_connection = socket == -1 ? nullptr : find(socket);
  if (p_connection == nullptr) {
    log.writeLog("NetworkManager::sendMessage(): Error! Socket %d not connected. Unable to send.",
                 socket);
    return -1;
  }
  if (!isValidMessage(buffer, bytes)) {
    log.writeLog("NetworkManager::sendMessage(): Error! Invalid message of %d bytes.", bytes);
    return -1;
  }
  if (bytes > max_message_bytes) {
    log.writeLog(
        "NetworkManager::sendMessage(): Error! Message of %d bytes is over max_message_bytes "
        "(%d). Not sent.",
        bytes, max_message_bytes);
    return -1;
  }
  if (flushMessages(socket) == -1) return -1;
  // An empty outbox takes any message, as bytes is at most the maximum.
  const std::size_t waiting = p_connection->outbox.size();
  if (waiting + static_cast<std::size_t>(bytes) > static_cast<std::size_t>(max_message_bytes)) {
    return refuseWaitingMessage(*p_connection, bytes);
  }
  appendLength(p_connection->outbox, static_cast<std::uint32_t>(bytes));
  p_connection->outbox.append(static_cast<const char*>(buffer), static_cast<std::size_t>(bytes));
  return flushMessages(socket);
}

int NetworkManager::refuseWaitingMessage(Connection& connection, int bytes) {
  noteFullQueue(connection.socket);
  if (connection.blocked_sends.count("NetworkManager::sendMessage()")) {
    LogManager::getInstance().writeLog(
        "NetworkManager::sendMessage(): Error! Socket %d is not reading: %zu bytes still wait. "
        "Message of %d bytes not sent.",
        connection.socket, connection.outbox.size(), bytes);
  }
  return -1;
}

// Hands the system as much of the waiting bytes as it takes. 0 unless the
// connection was lost (and closed) or the system refused.
int NetworkManager::flushMessages(int socket) {
  Connection* p_connection = find(socket);
  if (p_connection == nullptr || p_connection->outbox.empty()) return 0;
  std::string& outbox = p_connection->outbox;
  const long sent = transmit(*p_connection, outbox.data(), outbox.size());
  if (sent >= 0) {
    outbox.erase(0, static_cast<std::size_t>(sent));
    return 0;
  }
  const int code = platform::socketLastError();
  if (platform::socketWouldBlock(code)) return 0;  // it all waits
  if (platform::socketPeerGone(code)) {
    dropLostPeer(socket, code, "NetworkManager::sendMessage()");
    return -1;
  }
  LogManager::getInstance().writeLog("NetworkManager::sendMessage(): Error! send() returned:");
  logErrorText(code);
  return -1;
}

int NetworkManager::receiveMessage(std::string& message, int socket) {
  Connection* p_connection = find(socket);
  if (p_connection == nullptr) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receiveMessage(): Error! Socket %d not connected. Unable to receive.",
        socket);
    return -1;
  }
  Connection& connection = *p_connection;
  for (;;) {
    if (connection.unread() >= LENGTH_BYTES) {
      // Compared as announced, never added to: a length near 2^32 cannot wrap.
      const std::uint32_t length = lengthAt(&connection.inbox[connection.inbox_start]);
      if (length > static_cast<std::uint32_t>(max_message_bytes)) {
        return refuseLongMessage(socket, length);
      }
      if (connection.unread() - LENGTH_BYTES >= length) {
        message.assign(connection.inbox, connection.inbox_start + LENGTH_BYTES, length);
        connection.inbox_start += LENGTH_BYTES + length;
        return 1;
      }
    }
    const int got = readForMessages(connection);
    if (got <= 0) return got;  // connection is gone when got is -1
  }
}

// Reads what the peer sent, up to one chunk, behind the unread bytes. The
// inbox thus holds at most one whole message and one chunk. Returns the bytes
// read, 0 when none were waiting, -1 on an error or a closed connection.
int NetworkManager::readForMessages(Connection& connection) {
  // Read into a buffer of the thread's own, so that a poll that finds
  // nothing costs no growing and clearing of the inbox.
  thread_local std::vector<char> chunk(READ_CHUNK);
  const int socket = connection.socket;
  const long got = takeIn(connection, chunk.data(), READ_CHUNK);
  if (got <= 0) return endOfReading(socket, got, "NetworkManager::receiveMessage()");
  connection.inbox.erase(0, connection.inbox_start);
  connection.inbox_start = 0;
  connection.inbox.append(chunk.data(), static_cast<std::size_t>(got));
  return static_cast<int>(got);
}

// Nothing after a length that cannot be right can be trusted, so the
// connection ends, with one line however many peers do it.
int NetworkManager::refuseLongMessage(int socket, unsigned long length) {
  if (longMessages().count("NetworkManager::receiveMessage()")) {
    LogManager::getInstance().writeLog(
        "NetworkManager::receiveMessage(): Error! Socket %d announced a message of %lu bytes, "
        "over max_message_bytes (%d). Connection closed.",
        socket, length, max_message_bytes);
  }
  close(socket);
  return -1;
}

int NetworkManager::getMaxMessageBytes() const { return max_message_bytes; }

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
  std::vector<int> to_close;
  for (const auto& connection : connections) to_close.push_back(connection->socket);
  int result = 0;
  for (int each : to_close) {
    const int index = indexOf(each);
    if (index >= 0 && closeAt(index) == -1) result = -1;
  }
  return result;
}

// The connection leaves the list before anyone is told, so a close handler
// sees it gone and cannot send on (or close again) a released descriptor.
int NetworkManager::closeAt(int index) {
  const auto at = connections.begin() + static_cast<std::ptrdiff_t>(index);
  const int socket = (*at)->socket;
  (*at)->blocked_sends.close("NetworkManager::close()");
  connections.erase(at);
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

int NetworkManager::queueMessage(const void* buffer, int bytes, int socket, int due_step) {
  const LogManager& log = LogManager::getInstance();
  Connection* p_connection = find(socket);
  if (p_connection == nullptr) {
    log.writeLog("NetworkManager::queueMessage(): Error! Socket %d not connected.", socket);
    return -1;
  }
  if (!isValidMessage(buffer, bytes)) {
    log.writeLog("NetworkManager::queueMessage(): Error! Invalid message of %d bytes.", bytes);
    return -1;
  }
  Connection::DelayedMessage message{
      bytes, std::unique_ptr<char[]>(new (std::nothrow) char[bytes > 0 ? bytes : 1]), due_step};
  if (!message.data) {
    log.writeLog("NetworkManager::queueMessage(): Error! No memory for %d bytes.", bytes);
    return -1;
  }
  if (bytes > 0) std::memcpy(message.data.get(), buffer, static_cast<size_t>(bytes));
  p_connection->send_queue.push_back(std::move(message));
  return 0;
}

int NetworkManager::sendQueued() { return sendQueued(LoopState::getInstance().getStepCount()); }

int NetworkManager::sendQueued(int current_step) {
  // A failed send may close its connection and shift the list, so each
  // connection is found again by its socket rather than by position.
  std::vector<int> sockets;
  for (const auto& connection : connections) sockets.push_back(connection->socket);
  int total = 0;
  for (int socket : sockets) {
    total += flushMessages(socket);
    total += sendDueOn(socket, current_step);
  }
  return total;
}

// Sends socket's due messages in order, stopping at the first one not yet due
// or when the connection closes underway.
int NetworkManager::sendDueOn(int socket, int current_step) {
  int total = 0;
  for (;;) {
    Connection* p_connection = find(socket);
    if (p_connection == nullptr) break;
    auto& queue = p_connection->send_queue;
    if (queue.empty() || queue.front().due_step > current_step) break;
    const Connection::DelayedMessage message = std::move(queue.front());
    queue.pop_front();
    total += send(message.data.get(), message.bytes, socket);
  }
  return total;
}

int NetworkManager::getConnectionCount() const { return static_cast<int>(connections.size()); }

int NetworkManager::getSocket(int index) const {
  if (index < 0 || index >= getConnectionCount()) return -1;
  return connections[static_cast<size_t>(index)]->socket;
}

int NetworkManager::getConnectionValue(int socket) const {
  const Connection* p_connection = find(socket);
  return p_connection == nullptr ? 0 : p_connection->value;
}

int NetworkManager::setConnectionValue(int socket, int value) {
  Connection* p_connection = find(socket);
  if (p_connection == nullptr) {
    LogManager::getInstance().writeLog(
        "NetworkManager::setConnectionValue(): Error! Socket %d not connected.", socket);
    return -1;
  }
  p_connection->value = value;
  return 0;
}

int NetworkManager::getQueuedCount(int socket) const {
  const Connection* p_connection = find(socket);
  return p_connection == nullptr ? -1 : static_cast<int>(p_connection->send_queue.size());
}

int NetworkManager::indexOf(int socket) const {
  for (size_t i = 0; i < connections.size(); i++) {
    if (connections[i]->socket == socket) return static_cast<int>(i);
  }
  return -1;
}

NetworkManager::Connection* NetworkManager::find(int socket) const {
  const int index = indexOf(socket);
  return index < 0 ? nullptr : connections[static_cast<size_t>(index)].get();
}

bool NetworkManager::isWebSocket(int socket) const {
  const Connection* p_connection = find(socket);
  return p_connection != nullptr && p_connection->websocket != nullptr;
}

// A connection's bytes go out as they are (TCP) or as one WebSocket message.
long NetworkManager::transmit(Connection& connection, const void* buffer, std::size_t bytes) {
  if (connection.websocket) return connection.websocket->send(buffer, bytes);
  return platform::socketSend(connection.socket, buffer, bytes);
}

// The bytes that arrived on a connection: as they are (TCP) or the payloads of
// WebSocket messages, whose end (a close or a bad frame) reads as an end of stream.
long NetworkManager::takeIn(Connection& connection, void* buffer, std::size_t bytes) {
  if (!connection.websocket) return platform::socketReceive(connection.socket, buffer, bytes);
  const long got = connection.websocket->receive(buffer, bytes);
  if (got == 0) noteWebSocketEnd(connection);
  return got;
}

// A WebSocket peer whose frame broke the protocol (unmasked, too long, ...)
// was sent a close naming the fault; one line says so, however many do it.
void NetworkManager::noteWebSocketEnd(const Connection& connection) const {
  const int code = connection.websocket->getFaultCode();
  if (code == 0 || !badFrames().count("NetworkManager::receive()")) return;
  LogManager::getInstance().writeLog(
      "NetworkManager::receive(): Warning! WebSocket peer on socket %d sent a bad frame; closed "
      "with code %d.",
      connection.socket, code);
}

void NetworkManager::logErrorText(int code) const {
  const std::string text = platform::socketErrorText(code);
  if (text.empty()) return;
  LogManager::getInstance().writeLog("\t%d - %s", code, text.c_str());
}

}  // namespace tw
