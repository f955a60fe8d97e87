// The network manager: TCP connections (as server or client), sending now or at
// a later game step, receiving, closing, and the accept and close events for
// interested objects. The sockets themselves come from engine/platform/Socket.h.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/Export.h"
#include "engine/core/Manager.h"

namespace tw {

const std::string DEFAULT_PORT = "9876";
const int CONNECT_TIMEOUT_MS = 3000;  // longest a client connect may stall the loop

class TW_API NetworkManager : public Manager {
 public:
  static NetworkManager& getInstance();
  ~NetworkManager() override;

  // Accepts exactly the network event family (EventNetwork.h).
  bool isValid(std::string event_type) const override;
  int startUp() override;
  // Closes every connection and the listening socket.
  void shutDown() override;

  // Listens on port ("0" picks a free one) at host (empty: every local
  // address). Non-blocking, so accept() never waits. Returns 0 or -1.
  int setUpServer(std::string port = DEFAULT_PORT, std::string host = "");
  // Stops listening; connections already made stay. Returns 0 or -1.
  int closeServer();
  // The listening socket's port, -1 when this process is not a server.
  int getServerPort() const;
  bool isServer() const;
  // Connects to host:port; returns the new connection's socket or -1.
  int connect(std::string host, std::string port = DEFAULT_PORT);

  int setMaxConnections(int new_max_connections);  // 0 or -1 (negative)
  int getMaxConnections() const;

  // The new socket, -1 when nothing was pending (or at max), -2 on error.
  int accept();
  // For -1: whether any connection exists; otherwise whether socket is one.
  bool isConnected(int socket = -1) const;
  // 0 when all bytes went out, -1 otherwise (partial sends are not retried).
  int send(const void* buffer, int bytes, int socket);
  // Bytes read (up to bytes), 0 when nothing is waiting, -1 on error or when
  // the peer closed the connection (which is then closed here too).
  int receive(void* buffer, int bytes, int socket);
  // Closes one connection, or every connection for -1. Returns 0 or -1.
  int close(int socket = -1);

  // Copies the message into socket's queue, to be sent from step due_step on.
  int queueMessage(const void* buffer, int bytes, int socket, int due_step);
  // Sends every due queued message at the game manager's current step.
  int sendQueued();
  // The same for a given step; returns the sum of the send results.
  int sendQueued(int current_step);

  int getConnectionCount() const;
  int getSocket(int index) const;  // -1 outside 0..count-1
  int getConnectionValue(int socket) const;  // 0 when not connected
  int setConnectionValue(int socket, int value);
  int getQueuedCount(int socket) const;  // messages waiting, -1 when not connected

 private:
  struct DelayedMessage {
    int bytes;
    std::unique_ptr<char[]> data;
    int due_step;  // game loop step from which it may be sent
  };

  NetworkManager();
  NetworkManager(const NetworkManager&) = delete;
  void operator=(const NetworkManager&) = delete;
  int indexOf(int socket) const;
  int closeAt(int index);
  void dropAt(int index);
  int sendDueOn(int socket, int current_step);
  int refuseBlockedSend(int index, int code);
  void logErrorText(int code) const;

  int listening_socket;  // -1 when this process is not a server
  int max_connections;
  std::vector<int> sockets;           // in the order they were made
  std::vector<int> connection_value;  // parallel to sockets
  std::vector<std::deque<DelayedMessage>> send_queues;  // parallel to sockets
  std::vector<long long> blocked_sends;  // parallel to sockets: sends that would have blocked
};

}  // namespace tw
