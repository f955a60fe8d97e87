// The network manager: TCP connections (as server or client), sending bytes
// now or at a later game step, sending and receiving whole messages, closing,
// and the accept and close events for interested objects. The sockets
// themselves come from engine/platform/Socket.h.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"

namespace tw {

class WebSocketListener;

const std::string DEFAULT_PORT = "9876";
const int CONNECT_TIMEOUT_MS = 3000;  // longest a client connect may stall the loop
const int MAX_ACCEPTS_PER_FRAME = 4096;  // the longest queue of pending connections Linux keeps

class TW_API NetworkManager : public Manager {
 public:
  static NetworkManager& getInstance();
  ~NetworkManager() override;

  // Accepts exactly the network event family (EventNetwork.h).
  bool isValid(std::string event_type) const override;
  int startUp() override;
  // Closes every connection and the listening socket.
  void shutDown() override;

  // Listens on port ("0" picks a free one) at host ("127.0.0.1" for this
  // machine only; empty: every local address). Non-blocking, so accept()
  // never waits. When the websocket_port setting is 0 or more, WebSocket
  // clients are listened for on that port too (setUpWebSocketServer); both
  // are set up or neither. Returns 0 or -1.
  int setUpServer(std::string port = DEFAULT_PORT, std::string host = "");
  // Listens for WebSocket clients (browser pages) on a port of their own.
  // A client that completes the handshake becomes a connection like a TCP
  // one: the same events, limits and calls; its bytes travel as binary
  // WebSocket messages. Returns 0 or -1.
  int setUpWebSocketServer(std::string port, std::string host = "");
  // Stops listening (TCP and WebSocket); connections already made stay.
  // Returns 0 or -1.
  int closeServer();
  // The listening socket's port, -1 when this process is not a server.
  int getServerPort() const;
  // The WebSocket port, -1 when not listening for WebSocket clients.
  int getWebSocketPort() const;
  // True when listening for TCP or WebSocket clients.
  bool isServer() const;
  // Connects to host:port; returns the new connection's socket or -1.
  int connect(std::string host, std::string port = DEFAULT_PORT);

  int setMaxConnections(int new_max_connections);  // 0 or -1 (negative)
  int getMaxConnections() const;

  // The new socket, -1 when nothing was pending (or at max), -2 on error.
  int accept();
  // What the game loop calls each frame: accepts every pending connection up
  // to max_connections, so a burst of connections never keeps a real peer
  // waiting. At the maximum, a connection whose peer has closed or reset it
  // (with no message left unread) is closed to make room; when none is, the
  // new connection is closed at once, logged in full once and then counted.
  // At most MAX_ACCEPTS_PER_FRAME are taken per call. WebSocket clients
  // count once their handshake is done. Returns the number accepted, -2 when
  // this process is not a server or accepting failed.
  int acceptPending();
  // For -1: whether any connection exists; otherwise whether socket is one.
  bool isConnected(int socket = -1) const;
  // 0 when all bytes went out, -1 otherwise (partial sends are not retried).
  int send(const void* buffer, int bytes, int socket);
  // Bytes read (up to bytes), 0 when nothing is waiting, -1 on error or when
  // the peer closed the connection (which is then closed here too).
  int receive(void* buffer, int bytes, int socket);
  // Closes one connection, or every connection for -1. Returns 0 or -1.
  int close(int socket = -1);

  // Whole messages: each travels as its length (4 bytes, little-endian) and
  // its bytes, so the receiver gets exactly the messages sent, however TCP
  // splits them. A connection carries either whole messages or the plain
  // bytes of send and receive, never both.
  //
  // Sends one message of at most getMaxMessageBytes() bytes, whole or not at
  // all: 0 when it went out or waits, in order, for the system to take it
  // (the loop sends what waits each frame); -1 when refused (not connected,
  // too long, or with the bytes still waiting for a peer that stopped
  // reading it would pass the maximum) or when the connection was lost.
  int sendMessage(const void* buffer, int bytes, int socket);
  int sendMessage(const std::string& message, int socket);
  // Takes the next whole message received on socket into message, never
  // waiting: 1 when one was taken, 0 when none is complete yet, -1 on an
  // error or when the connection is gone (closed by the peer, lost, or closed
  // here because the peer announced a message longer than
  // getMaxMessageBytes(), which is logged once).
  int receiveMessage(std::string& message, int socket);
  // The longest message sent or accepted, from the max_message_bytes setting
  // when the manager started.
  int getMaxMessageBytes() const;

  // Copies the message into socket's queue, to be sent from step due_step on.
  int queueMessage(const void* buffer, int bytes, int socket, int due_step);
  // Sends what whole messages left waiting, then every due queued message at
  // the game manager's current step.
  int sendQueued();
  // The same for a given step; returns the sum of the send results.
  int sendQueued(int current_step);

  int getConnectionCount() const;
  int getSocket(int index) const;  // -1 outside 0..count-1
  int getConnectionValue(int socket) const;  // 0 when not connected
  int setConnectionValue(int socket, int value);
  int getQueuedCount(int socket) const;  // messages waiting, -1 when not connected
  // True when socket is a connection made over WebSocket.
  bool isWebSocket(int socket) const;

 private:
  // One connection's socket, value, delayed messages, whole-message buffers
  // and count of blocked sends (defined in NetworkManager.cpp).
  struct Connection;

  NetworkManager();
  NetworkManager(const NetworkManager&) = delete;
  void operator=(const NetworkManager&) = delete;
  Connection* find(int socket) const;
  int indexOf(int socket) const;
  int addConnection(int socket);
  int closeAt(int index);
  int refusePending();
  void makeRoom();
  int sendDueOn(int socket, int current_step);
  int flushMessages(int socket);
  int refuseBlockedSend(Connection& connection, int code);
  int refuseWaitingMessage(Connection& connection, int bytes);
  void noteFullQueue(int socket) const;
  int readForMessages(Connection& connection);
  int endOfReading(int socket, long got, const char* where);
  int refuseLongMessage(int socket, unsigned long length);
  void dropLostPeer(int socket, int code, const char* where);
  void logErrorText(int code) const;
  int refuseListening(const char* operation) const;
  int acceptWebSockets();
  long transmit(Connection& connection, const void* buffer, std::size_t bytes);
  long takeIn(Connection& connection, void* buffer, std::size_t bytes);
  void noteWebSocketEnd(const Connection& connection) const;

  int listening_socket;  // -1 when this process is not a server
  int max_connections;
  int max_message_bytes;
  std::vector<std::unique_ptr<Connection>> connections;  // in the order they were made
  std::unique_ptr<WebSocketListener> websockets;  // null when not listening for them
};

}  // namespace tw
