// Pong for two processes over TCP: one hosts, one joins. The host moves the ball and
// keeps the score; each side moves its own paddle (arrow keys or W and S) and sends,
// each step, what changed in the objects it owns as one whole message of their records.
//   example_pong [--window | --terminal | --capture] --host [PORT] [--listen ADDRESS]
//                [--pages PORT]
//   example_pong [--window | --terminal | --capture] --join HOST PORT
// The host listens on 127.0.0.1 unless --listen names another address, and takes a
// browser page as its guest on a WebSocket port of its own (--pages, a free one
// without). In a page the game joins only, with the host's WebSocket port:
//   pong.html?arg=--join&arg=HOST&arg=PAGES_PORT
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tarnwick.h"

namespace {

bool hosting = false;
int peer = -1;  // the connection's socket
// The host's and the guest's points (the world owns them).
tw::Handle<tw::ViewObject> scores[2];
// What each side owns, in the order its records travel: the host the ball,
// the left paddle and both scores; the guest the right paddle. Every one
// lives until the game ends.
std::vector<tw::Object*> host_owns;
std::vector<tw::Object*> guest_owns;

void endGame() { tw::GameManager::getInstance().setGameOver(); }

int score(int side) {
  const tw::ViewObject* p_score = scores[side].get();
  return p_score != nullptr ? p_score->getValue() : 0;
}

// Sends what changed in this side's objects since its last message, if anything did:
// after the last point the host falls silent, so the guest leaves with nothing unread.
void sendMine() {
  std::stringstream records;
  bool changed = false;
  for (tw::Object* p_o : hosting ? host_owns : guest_owns) {
    changed = changed || p_o->getModified() != 0;
    p_o->serialize(&records);
  }
  if (!changed) return;
  if (tw::NetworkManager::getInstance().sendMessage(records.str(), peer) != 0) {
    peer = -1;  // logged: the connection is lost, or the peer stalls
    endGame();
  }
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
  if (got < 0) {
    peer = -1;
    endGame();
  }
}

// A paddle ('|' five high) or the ball ('O'). The host bounces the ball; this
// side's paddle runs the match: the keys, the connection and each step's exchange.
class Piece : public tw::Object {
 public:
  Piece(float x, bool mine) : paddle(x != 40) {
    setSolidness(tw::SOFT);
    setBox(paddle ? tw::Box(tw::Vector(0, -2), 0, 4) : tw::Box(tw::Vector(), 0, 0));
    setPosition(tw::Vector(x, 12));
    if (mine) {
      registerInterest(tw::STEP_EVENT);
      registerInterest(tw::KEYSTROKE_EVENT);
      registerInterest(tw::NETWORK_ACCEPT_EVENT);
    }
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
    if (const auto* p_accept = p_e->as<tw::EventNetworkAccept>()) {
      if (peer == -1) {  // the guest is here
        peer = p_accept->getSocket();
        host_owns[0]->setVelocity(tw::Vector(1, 0.35f));  // cells per step
      } else {  // one too many: only one guest plays
        tw::NetworkManager::getInstance().close(p_accept->getSocket());
      }
    } else if (const auto* p_key = p_e->as<tw::EventKeystroke>()) {
      steer(p_key->getKey());
    } else if (p_e->as<tw::EventStep>() != nullptr && peer != -1) {
      // The guest stays half a second after the match was won, so that its
      // player sees the final court and score before it leaves; the host ends
      // when the guest is gone.
      if (!hosting && (score(0) == 3 || score(1) == 3) && ++steps_since_won == 15) endGame();
      receiveTheirs();
      if (peer != -1) sendMine();
    }
    return 1;
  }

 private:
  // One cell up or down per keystroke, within the court.
  void steer(tw::Keyboard::Key key) {
    float dy = 0;
    if (key == tw::Keyboard::UP_ARROW || key == tw::Keyboard::W) dy = -1;
    if (key == tw::Keyboard::DOWN_ARROW || key == tw::Keyboard::S) dy = 1;
    const float y = getPosition().getY() + dy;
    if (y >= 2 && y <= 21) setPosition(tw::Vector(getPosition().getX(), y));
    if (key == tw::Keyboard::Q) endGame();
  }

  int bounce(const tw::Event* p_e) {
    const tw::Vector v = getVelocity();
    const tw::Vector at = getPosition();
    const float towards_middle = at.getX() < 40 ? 1.0f : -1.0f;
    if (p_e->as<tw::EventOut>() == nullptr) {  // off a paddle
      setVelocity(tw::Vector(towards_middle, v.getY()));
    } else if (at.getY() < 0 || at.getY() > 23) {  // off the top or bottom
      setVelocity(tw::Vector(v.getX(), -v.getY()));
    } else {  // past a paddle: a point; serve again unless it won the match
      const int winner = at.getX() < 40 ? 1 : 0;
      if (tw::ViewObject* p_winner = scores[winner].get()) {
        p_winner->setValue(p_winner->getValue() + 1);
      }
      setPosition(tw::Vector(40, 12));
      setVelocity(score(winner) < 3 ? tw::Vector(towards_middle, 0.35f) : tw::Vector());
    }
    return 1;
  }

  bool paddle;
  int steps_since_won = 0;  // the guest's steps since the match was won
};

tw::ViewObject* scoreView(const char* label, tw::Location where) {
  auto* p_view = new tw::ViewObject;  // the world owns it
  p_view->setViewString(label);
  p_view->setLocation(where);
  return p_view;
}
}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("example_pong");
  command_line.addOption("--host", "  --host [PORT]     host a match (on a free port without one)");
  command_line.addOption("--join", "  --join HOST PORT  join the match hosted there");
  command_line.addOption("--listen", "  --listen ADDRESS  the host's address (127.0.0.1)");
  command_line.addOption("--pages", "  --pages PORT      the host's port for browser pages (a free one)");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;

  hosting = command_line.has("--host");
  const std::vector<std::string> host_port = command_line.valuesOf("--host");
  const std::vector<std::string> join = command_line.valuesOf("--join");
  const std::vector<std::string> listen = command_line.valuesOf("--listen");
  const std::vector<std::string> pages = command_line.valuesOf("--pages");
  std::string host;
  std::string port = "0";
  if (!host_port.empty()) port = host_port[0];
  if (join.size() == 2) {
    host = join[0];
    port = join[1];
  }
  const std::string address = listen.empty() ? "127.0.0.1" : listen[0];
  if (hosting == command_line.has("--join") || (!hosting && join.size() != 2)) {
    return command_line.refuse("--host [PORT] or --join HOST PORT?");
  }

  tw::GameManager& game = tw::GameManager::getInstance();
  tw::NetworkManager& net = tw::NetworkManager::getInstance();
  tw::Config::getInstance().addOverride("networking:true");
  if (game.startUp() != 0) {  // a failed start-up has said why on standard error
    game.shutDown();
    return 1;
  }
  const bool connected =
      hosting ? net.setUpServer(port, address) == 0 &&
                    (net.getWebSocketPort() >= 0 ||  // the websocket_port setting opened it
                     net.setUpWebSocketServer(pages.empty() ? "0" : pages[0], address) == 0)
              : (peer = net.connect(host, port)) >= 0;
  if (!connected) {
    game.shutDown();
    std::fputs("cannot host or join; see the log\n", stderr);
    return 1;
  }
  if (hosting) {
    std::printf("hosting on port %d, pages on port %d\n", net.getServerPort(),
                net.getWebSocketPort());
    std::fflush(stdout);
  }

  host_owns.push_back(new Piece(40, false));
  host_owns.push_back(new Piece(2, hosting));
  guest_owns.push_back(new Piece(77, !hosting));
  tw::ViewObject* p_host_score = scoreView("Host", tw::TOP_LEFT);
  tw::ViewObject* p_guest_score = scoreView("Guest", tw::TOP_RIGHT);
  scores[0] = p_host_score;
  scores[1] = p_guest_score;
  host_owns.push_back(p_host_score);
  host_owns.push_back(p_guest_score);
  game.run();
  std::printf("Host %d Guest %d\n", score(0), score(1));
  game.shutDown();
  return 0;
}
