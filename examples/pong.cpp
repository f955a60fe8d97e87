// Pong for two processes over TCP: one hosts, one joins. The host moves the ball and
// keeps the score; each side moves its own paddle (arrow keys or W and S) and sends,
// each step, what changed in the objects it owns as one whole message of their records.
//   example_pong [--window | --terminal | --capture] --host [PORT] [--listen ADDRESS]
//   example_pong [--window | --terminal | --capture] --join HOST PORT
// The host listens on 127.0.0.1 unless --listen names another address.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

namespace {

bool hosting = false;
int peer = -1;                // the connection's socket
tw::ViewObject* p_scores[2];  // the host's and the guest's points
// What each side owns, in the order its records travel: the host the ball,
// the left paddle and both scores; the guest the right paddle.
std::vector<tw::Object*> host_owns, guest_owns;
const std::string OPTIONS = " --window --terminal --capture --host --join --listen ";

// Sends what changed in this side's objects since its last message, if anything did:
// after the last point the host falls silent, so the guest leaves with nothing unread.
void sendMine() {
  std::stringstream records;
  bool changed = false;
  for (tw::Object* p_o : hosting ? host_owns : guest_owns) {
    changed = changed || p_o->getModified() != 0;
    p_o->serialize(&records);
  }
  if (changed && tw::NetworkManager::getInstance().sendMessage(records.str(), peer) != 0)
    peer = -1, tw::GameManager::getInstance().setGameOver();  // logged: lost, or the peer stalls
}

// Applies every message that has arrived (a message ends with its last record).
void receiveTheirs() {
  std::string message;
  int got = 0;
  while ((got = tw::NetworkManager::getInstance().receiveMessage(message, peer)) == 1) {
    std::stringstream records(message);
    for (tw::Object* p_o : hosting ? guest_owns : host_owns) {
      if (p_o->deserialize(&records) != 0) break;  // logged; what follows cannot be trusted
    }
  }
  if (got < 0) peer = -1, tw::GameManager::getInstance().setGameOver();
}

// A paddle ('|' five high) or the ball ('O'). The host bounces the ball; this
// side's paddle runs the match: the keys, the connection and each step's exchange.
class Piece : public tw::Object {
 public:
  Piece(float x, bool mine) : paddle(x != 40) {
    setSolidness(tw::SOFT);
    setBox(paddle ? tw::Box(tw::Vector(0, -2), 0, 4) : tw::Box(tw::Vector(), 0, 0));
    setPosition(tw::Vector(x, 12));
    for (const std::string& t : {tw::STEP_EVENT, tw::KEYBOARD_EVENT, tw::NETWORK_ACCEPT_EVENT})
      if (mine) registerInterest(t);
  }
  int draw() override {
    for (int dy = paddle ? -2 : 0; dy <= (paddle ? 2 : 0); dy++) {
      const tw::Vector at = getPosition() + tw::Vector(0, dy);
      tw::DisplayManager::getInstance().drawCharacter(at, paddle ? '|' : 'O', tw::WHITE);
    }
    return 0;
  }
  int eventHandler(const tw::Event* p_e) override {
    if (!paddle) return hosting ? bounce(p_e) : 0;
    if (p_e->getType() == tw::NETWORK_ACCEPT_EVENT) {  // the guest, or one too many
      const int socket = static_cast<const tw::EventNetwork*>(p_e)->getSocket();
      if (peer != -1) return tw::NetworkManager::getInstance().close(socket), 1;
      peer = socket;
      host_owns[0]->setVelocity(tw::Vector(1, 0.35f));  // cells per step
    } else if (p_e->getType() == tw::KEYBOARD_EVENT) {
      const tw::Keyboard::Key key = static_cast<const tw::EventKeyboard*>(p_e)->getKey();
      float dy = key == tw::Keyboard::UP_ARROW || key == tw::Keyboard::W ? -1 : 0;
      dy += key == tw::Keyboard::DOWN_ARROW || key == tw::Keyboard::S ? 1 : 0;
      const float y = getPosition().getY() + dy;
      if (y >= 2 && y <= 21) setPosition(tw::Vector(getPosition().getX(), y));
      if (key == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
    } else if (p_e->getType() == tw::STEP_EVENT && peer != -1) {
      receiveTheirs();
      if (peer != -1) sendMine();
      if (!hosting && (p_scores[0]->getValue() == 3 || p_scores[1]->getValue() == 3))
        tw::GameManager::getInstance().setGameOver();  // the host ends when the guest is gone
    }
    return 1;
  }
 private:
  int bounce(const tw::Event* p_e) {
    const tw::Vector v = getVelocity(), at = getPosition();
    const float towards_middle = at.getX() < 40 ? 1.0f : -1.0f;
    if (p_e->getType() == tw::OUT_EVENT && (at.getY() < 0 || at.getY() > 23)) {
      setVelocity(tw::Vector(v.getX(), -v.getY()));  // off the top or bottom
    } else if (p_e->getType() == tw::OUT_EVENT) {  // past a paddle: a point; serve unless won
      tw::ViewObject* p_winner = p_scores[at.getX() < 40 ? 1 : 0];
      p_winner->setValue(p_winner->getValue() + 1);
      setPosition(tw::Vector(40, 12));
      setVelocity(p_winner->getValue() < 3 ? tw::Vector(towards_middle, 0.35f) : tw::Vector());
    } else {  // off a paddle
      setVelocity(tw::Vector(towards_middle, v.getY()));
    }
    return 1;
  }
  bool paddle;
};
}  // namespace

int main(int argc, char* argv[]) {
  std::string host, port = "0", address = "127.0.0.1";
  for (int i = 1; i < argc; i++) {
    const std::string arg = argv[i];
    const bool value_follows = i + 1 < argc && argv[i + 1][0] != '-';
    if (arg == "--window" || arg == "--terminal" || arg == "--capture")
      tw::Config::getInstance().addOverride("display:" + arg.substr(2));
    hosting = hosting || arg == "--host";
    if (arg == "--host" && value_follows) port = argv[i + 1];
    if (arg == "--listen" && value_follows) address = argv[i + 1];
    if (arg == "--join" && i + 2 < argc) host = argv[i + 1], port = argv[i + 2];
    if (arg.compare(0, 2, "--") == 0 && OPTIONS.find(" " + arg + " ") == std::string::npos)
      return std::fprintf(stderr, "unknown option '%s'\n", arg.c_str()), 2;
  }
  if (hosting != host.empty()) return std::fputs("--host [PORT] or --join HOST PORT?\n", stderr), 2;
  tw::GameManager& game = tw::GameManager::getInstance();
  tw::NetworkManager& net = tw::NetworkManager::getInstance();
  tw::Config::getInstance().addOverride("networking:true");
  if (game.startUp() != 0 ||  // a failed start-up has said why on standard error
      (hosting ? net.setUpServer(port, address) != 0 : (peer = net.connect(host, port)) < 0)) {
    game.shutDown();
    return std::fputs("cannot start, host or join; see the log\n", stderr), 1;
  }
  if (hosting) std::printf("hosting on port %d\n", net.getServerPort()), std::fflush(stdout);
  host_owns = {new Piece(40, false), new Piece(2, hosting)}, guest_owns = {new Piece(77, !hosting)};
  for (int side = 0; side < 2; side++) {
    host_owns.push_back(p_scores[side] = new tw::ViewObject);
    p_scores[side]->setViewString(side == 0 ? "Host" : "Guest");
    p_scores[side]->setLocation(side == 0 ? tw::TOP_LEFT : tw::TOP_RIGHT);
  }
  game.run();
  std::printf("Host %d Guest %d\n", p_scores[0]->getValue(), p_scores[1]->getValue());
  game.shutDown();
}
