// Spectators for any game: when the spectate_port setting asks for it, the
// running game serves each finished frame to watchers' pages over WebSocket,
// read-only. Owns the spectators' server and the frame's page encoding; the
// game manager starts it with the other managers and has it serve every step.
#pragma once

#include <memory>

#include "engine/display/PageFrame.h"

namespace tw {

class SpectatorServer;

class Spectating {
 public:
  static Spectating& getInstance();
  ~Spectating();

  // Listens when spectate_port is 0 or more (on spectate_host, for at most
  // max_spectators) and logs where to watch. 0, or -1 with the reason
  // logged (the port is taken, or the game has no display to show). In a
  // browser page, which cannot listen, only warns.
  int startUp();
  void shutDown();
  bool isOn() const;
  // The port watchers connect to, -1 when off.
  int getPort() const;
  // Takes new watchers and hands them all the last finished frame; once per
  // step, after the display manager's swap.
  void serve();
  // The server while on, else null (for tests and benchmarks).
  SpectatorServer* getServer() const;

 private:
  Spectating();
  Spectating(const Spectating&) = delete;
  void operator=(const Spectating&) = delete;

  std::unique_ptr<SpectatorServer> server;
  PageFrame page_frame;
};

}  // namespace tw
