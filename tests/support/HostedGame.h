// A game hosting on 127.0.0.1 under the real game loop, whose one object
// reads every connection each step, for the network tests that need hosts
// under load (floods of peers, hostile WebSocket clients).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/network/EventNetwork.h"
#include "engine/network/NetworkManager.h"
#include "tests/support/EngineFixtures.h"
#include "tests/support/TestSupport.h"

namespace tw_test {

// A game hosting on 127.0.0.1 whose one object reads every connection each
// step, as a game serving several players does, and deserializes what it
// gets into itself. until() ends the loop (checked each step, up to a limit).
class HostedGame {
 public:
  explicit HostedGame(const std::string& settings)
      : engine("headless:true,networking:true," + settings) {
    EXPECT_EQ(game.startUp(), 0);
    EXPECT_EQ(nm.setUpServer("0", "127.0.0.1"), 0);
    host = new Probe;  // the world owns it
    host->registerInterest(tw::STEP_EVENT);
    host->registerInterest(tw::NETWORK_ACCEPT_EVENT);
    host->on_event = [this](const tw::Event* p_e) {
      if (p_e->getType() == tw::NETWORK_ACCEPT_EVENT) {
        accepted++;
      } else {
        step();
      }
    };
  }
  ~HostedGame() {
    if (game.isStarted()) game.shutDown();
  }
  int port() const { return nm.getServerPort(); }
  // Runs the loop until done() holds, or for at most max_steps.
  void runUntil(std::function<bool()> done, int max_steps) {
    until = std::move(done);
    last_step = game.getStepCount() + max_steps;
    game.run();
  }
  // The log's messages holding text, once the game has stopped.
  std::vector<std::string> lines(const std::string& text) {
    if (game.isStarted()) game.shutDown();
    std::vector<std::string> found;
    for (const std::string& line : engine.logLines()) {
      if (line.find(text) != std::string::npos) found.push_back(logMessage(line));
    }
    return found;
  }

  tw::GameManager& game = tw::GameManager::getInstance();
  tw::NetworkManager& nm = tw::NetworkManager::getInstance();
  std::vector<std::string> got;  // every whole message received
  int accepted = 0;               // connections announced
  bool echo = false;              // each message received is sent back after "echo:"

 private:
  void step() {
    std::vector<int> sockets;
    for (int i = 0; i < nm.getConnectionCount(); i++) sockets.push_back(nm.getSocket(i));
    for (int socket : sockets) {
      std::string message;
      while (nm.receiveMessage(message, socket) == 1) {
        got.push_back(message);
        if (echo) nm.sendMessage("echo:" + message, socket);
        std::stringstream records(message);
        host->deserialize(&records);
      }
    }
    if ((until && until()) || game.getStepCount() >= last_step) game.setGameOver();
  }

  ConfiguredEngine engine;
  Probe* host = nullptr;
  std::function<bool()> until;
  int last_step = 0;
};

}  // namespace tw_test
