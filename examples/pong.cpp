// Pong for two processes over TCP: one hosts, one joins. The host moves the
// ball and keeps the score; each side moves its own paddle (arrow keys or
// W and S). Every step each side sends the objects it owns as serialized
// records; the other side reads them into its copies. First to 3 wins.
//   example_pong [--window | --terminal | --capture] --host [PORT]
//   example_pong [--window | --terminal | --capture] --join HOST PORT
// A message is a tag (which object), a 4-byte length and the record.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>

#include "engine/core/Config.h"
#include "engine/core/EventStep.h"
#include "engine/loop/GameManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/ViewObject.h"
#include "engine/input/EventKeyboard.h"
#include "engine/network/EventNetwork.h"
#include "engine/network/NetworkManager.h"
#include "engine/world/EventOut.h"
#include "engine/world/Object.h"
#include "engine/world/WorldManager.h"

namespace {

bool hosting = false;
int peer = -1;  // the connection's socket

class Piece : public tw::Object {  // a paddle ('|' five high) or the ball ('O')
 public:
  explicit Piece(float x) : paddle(x != 40) {
    setSolidness(tw::SOFT);
    setBox(paddle ? tw::Box(tw::Vector(0, -2), 0, 4) : tw::Box(tw::Vector(), 0, 0));
    setPosition(tw::Vector(x, 12));
  }
  int draw() override {
    for (int dy = paddle ? -2 : 0; dy <= (paddle ? 2 : 0); dy++) {
      const tw::Vector at = getPosition() + tw::Vector(0, dy);
      tw::DisplayManager::getInstance().drawCharacter(at, paddle ? '|' : 'O', tw::WHITE);
    }
    return 0;
  }
  int eventHandler(const tw::Event* p_e) override;  // the ball's bounces, on the host

 private:
  bool paddle;
};

// Everything both sides show, by message tag: ball, left and right paddles,
// the host's and the guest's points. The host owns all but the right paddle.
const std::string TAGS = "BLRHG";
tw::Object* shared[5];
Piece* p_ball;
tw::ViewObject* p_scores[2];

void serve(float direction) {
  p_ball->setPosition(tw::Vector(40, 12));
  p_ball->setVelocity(tw::Vector(direction, 0.35f));  // cells per step
}

int Piece::eventHandler(const tw::Event* p_e) {
  if (!hosting || paddle) return 0;
  const tw::Vector v = getVelocity();
  if (p_e->getType() == "tw-collision") {  // off a paddle, back towards the middle
    setVelocity(tw::Vector(getPosition().getX() < 40 ? 1.0f : -1.0f, v.getY()));
  } else if (p_e->getType() == tw::OUT_EVENT &&
             (getPosition().getY() < 0 || getPosition().getY() > 23)) {
    setVelocity(tw::Vector(v.getX(), -v.getY()));  // off the top or bottom
  } else if (p_e->getType() == tw::OUT_EVENT) {    // past a paddle: a point
    tw::ViewObject* p_winner = p_scores[getPosition().getX() < 40 ? 1 : 0];
    p_winner->setValue(p_winner->getValue() + 1);
    serve(getPosition().getX() < 40 ? 1.0f : -1.0f);
  }
  return 1;
}

// Sends the full records of the objects this side owns.
void sendMine() {
  for (std::size_t i = 0; i < TAGS.size(); i++) {
    if ((TAGS[i] == 'R') == hosting) continue;
    std::stringstream record;  // a view object's value and looks are two more attributes
    shared[i]->serialize(&record, tw::ALL_OBJECT_ATTRIBUTES | tw::VALUE | tw::APPEARANCE);
    const std::uint32_t length = static_cast<std::uint32_t>(record.str().size());
    std::string message(1, TAGS[i]);
    message.append(reinterpret_cast<const char*>(&length), sizeof length).append(record.str());
    tw::NetworkManager::getInstance().send(message.data(), static_cast<int>(message.size()), peer);
  }
}

// Reads what has arrived and applies every whole message; the peer leaving ends the game.
void receiveObjects(std::string& inbox) {
  char buffer[4096];
  int got = 0;
  while ((got = tw::NetworkManager::getInstance().receive(buffer, sizeof buffer, peer)) > 0) {
    inbox.append(buffer, static_cast<std::size_t>(got));
  }
  if (got < 0) tw::GameManager::getInstance().setGameOver();
  std::uint32_t length = 0;
  while (inbox.size() >= 5 && inbox.copy(reinterpret_cast<char*>(&length), 4, 1) == 4 &&
         inbox.size() >= 5 + length) {
    std::stringstream record(inbox.substr(5, length));
    const std::size_t tag = TAGS.find(inbox[0]);
    if (tag != std::string::npos) shared[tag]->deserialize(&record);  // bad ones are logged
    inbox.erase(0, 5 + length);
  }
}

class Match : public tw::Object {  // the connection, the keys, and each step's exchange
 public:
  Match() {
    setSolidness(tw::SPECTRAL);
    registerInterest(tw::STEP_EVENT);
    registerInterest(tw::KEYBOARD_EVENT);
    registerInterest(tw::NETWORK_ACCEPT_EVENT);
  }
  int eventHandler(const tw::Event* p_e) override {
    if (p_e->getType() == tw::NETWORK_ACCEPT_EVENT && peer == -1) {  // the guest is here
      peer = static_cast<const tw::EventNetwork*>(p_e)->getSocket();
      serve(1);
    } else if (p_e->getType() == tw::KEYBOARD_EVENT) {
      const tw::Keyboard::Key key = static_cast<const tw::EventKeyboard*>(p_e)->getKey();
      float dy = key == tw::Keyboard::UP_ARROW || key == tw::Keyboard::W ? -1 : 0;
      dy += key == tw::Keyboard::DOWN_ARROW || key == tw::Keyboard::S ? 1 : 0;
      tw::Object* p_mine = shared[hosting ? 1 : 2];
      const float y = p_mine->getPosition().getY() + dy;
      if (y >= 2 && y <= 21) p_mine->setPosition(tw::Vector(p_mine->getPosition().getX(), y));
      if (key == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
    } else if (p_e->getType() == tw::STEP_EVENT && peer != -1) {
      receiveObjects(inbox);
      sendMine();
      if (p_scores[0]->getValue() == 3 || p_scores[1]->getValue() == 3) {
        tw::GameManager::getInstance().setGameOver();
      }
    }
    return 1;
  }

 private:
  std::string inbox;  // bytes received and not yet applied
};

}  // namespace

int main(int argc, char* argv[]) {
  std::string host, port = "0";
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    if (arg == "--window" || arg == "--terminal" || arg == "--capture") {
      tw::Config::getInstance().addOverride("display:" + arg.substr(2));
    }
    if (arg == "--host") hosting = true;
    if (arg == "--host" && i + 1 < argc) port = argv[i + 1];
    if (arg == "--join" && i + 2 < argc) host = argv[i + 1], port = argv[i + 2];
    if (arg.compare(0, 2, "--") == 0 && arg != "--host" && arg != "--join" && arg != "--window" &&
        arg != "--terminal" && arg != "--capture")
      return std::fprintf(stderr, "unknown option '%s'\n", arg.c_str()), 2;
  }
  if (hosting == !host.empty())
    return std::fputs("--host [PORT] or --join HOST PORT?\n", stderr), 2;
  tw::GameManager& game = tw::GameManager::getInstance();
  tw::Config::getInstance().addOverride("networking:true");
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  tw::NetworkManager& net = tw::NetworkManager::getInstance();
  if (hosting ? net.setUpServer(port) != 0 : (peer = net.connect(host, port)) < 0) {
    game.shutDown();
    return std::fputs("cannot host or join; see the log\n", stderr), 1;
  }
  if (hosting) std::printf("hosting on port %d\n", net.getServerPort());
  std::fflush(stdout);
  shared[0] = p_ball = new Piece(40);
  shared[1] = new Piece(2);
  shared[2] = new Piece(77);
  for (int side = 0; side < 2; side++) {
    shared[3 + side] = p_scores[side] = new tw::ViewObject;
    p_scores[side]->setViewString(side == 0 ? "Host" : "Guest");
    p_scores[side]->setLocation(side == 0 ? tw::TOP_LEFT : tw::TOP_RIGHT);
  }
  new Match;
  game.run();
  if (hosting && peer != -1) {  // the final score; the guest leaves first, having read it
    sendMine();
    char buffer[4096];
    for (int i = 0; i < 300 && net.receive(buffer, sizeof buffer, peer) >= 0; i++) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  std::printf("Host %d Guest %d\n", p_scores[0]->getValue(), p_scores[1]->getValue());
  game.shutDown();
  return 0;
}
