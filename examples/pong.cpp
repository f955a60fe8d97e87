// Pong between processes over TCP or WebSocket: one hosts, the others join. The host
// moves the ball and keeps the score; each player moves its own paddle (arrow keys or
// W and S) and sends, each step, what changed in the objects it owns as one whole
// message of their records. The host passes each guest's paddle on to the other guest.
//   example_pong [--window | --terminal | --capture] --host [PORT] [--referee]
//                [--listen ADDRESS] [--pages PORT]
//   example_pong [--window | --terminal | --capture] --join HOST PORT
// A host plays the left paddle against one guest, who plays the right. A host with
// --referee plays no paddle: the first guest to join plays the left one, the second
// the right one, and the ball serves once both are there. The host's first message to
// a guest names the side it plays ("left" or "right").
// The host listens on 127.0.0.1 unless --listen names another address, and takes
// browser pages as guests on a WebSocket port of its own (--pages, a free one
// without). In a page the game joins only, with the host's WebSocket port:
//   pong.html?arg=--join&arg=HOST&arg=PAGES_PORT
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tarnwick.h"

namespace {

enum Side { LEFT, RIGHT };
const int GONE = -2;  // a guest's seat once its connection is lost

bool hosting = false;
// The paddle this process plays: -1 for a referee, or a guest not told yet.
int my_side = -1;
int host_peer = -1;        // a guest's connection to its host
int guests[2] = {-1, -1};  // a host's guests' connections, by the side each plays
// The court: the world owns all five, and they live until the game ends.
class Piece;
tw::Object* ball = nullptr;
Piece* paddles[2] = {};
tw::Handle<tw::ViewObject> scores[2];

void endGame() { tw::GameManager::getInstance().setGameOver(); }

int score(int side) {
  const tw::ViewObject* p_score = scores[side].get();
  return p_score != nullptr ? p_score->getValue() : 0;
}

bool matchWon() { return score(LEFT) == 3 || score(RIGHT) == 3; }

// A paddle ('|' five high) or the ball ('O'). The host bounces the ball.
class Piece : public tw::Object {
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
  int eventHandler(const tw::Event* p_e) override {
    return !paddle && hosting ? bounce(p_e) : 0;
  }

  // One cell up or down, within the court.
  void steer(float dy) {
    const float y = getPosition().getY() + dy;
    if (y >= 2 && y <= 21) setPosition(tw::Vector(getPosition().getX(), y));
  }

 private:
  int bounce(const tw::Event* p_e) {
    const tw::Vector v = getVelocity();
    const tw::Vector at = getPosition();
    const float towards_middle = at.getX() < 40 ? 1.0f : -1.0f;
    if (p_e->as<tw::EventOut>() == nullptr) {  // off a paddle
      setVelocity(tw::Vector(towards_middle, v.getY()));
    } else if (at.getY() < 0 || at.getY() > 23) {  // off the top or bottom
      setVelocity(tw::Vector(v.getX(), -v.getY()));
    } else {  // past a paddle: a point; serve again unless it won the match
      const int winner = at.getX() < 40 ? RIGHT : LEFT;
      if (tw::ViewObject* p_winner = scores[winner].get()) {
        p_winner->setValue(p_winner->getValue() + 1);
      }
      setPosition(tw::Vector(40, 12));
      setVelocity(score(winner) < 3 ? tw::Vector(towards_middle, 0.35f) : tw::Vector());
    }
    return 1;
  }

  bool paddle;
};

// What the host sends a guest playing side, in this order: the ball, the other
// paddle and both scores. The guest sends only its own paddle.
std::vector<tw::Object*> sentTo(int side) {
  return {ball, paddles[1 - side], scores[LEFT].get(), scores[RIGHT].get()};
}

// Everything on the court, in the order of its ids.
std::vector<tw::Object*> court() {
  return {ball, paddles[LEFT], paddles[RIGHT], scores[LEFT].get(), scores[RIGHT].get()};
}

// One object's record, and whether anything in it changed since the last one.
struct Record {
  bool changed;
  std::string text;
};

Record recordOf(tw::Object* p_o) {
  std::stringstream record;
  const bool changed = p_o->getModified() != 0;
  p_o->serialize(&record);
  return {changed, record.str()};
}

// Sends records as one message if any of them changed; false when the
// connection is lost or the peer stalls (logged).
bool sendIfChanged(const std::vector<Record>& records, int socket) {
  std::string message;
  bool changed = false;
  for (const Record& r : records) {
    changed = changed || r.changed;
    message += r.text;
  }
  return !changed || tw::NetworkManager::getInstance().sendMessage(message, socket) == 0;
}

// Applies every message that has arrived on socket to objects, one record
// each; with keep_changes, what a record changed stays marked modified so that
// the host passes it on. Returns false when the connection is gone.
bool receiveInto(int socket, const std::vector<tw::Object*>& objects, bool keep_changes) {
  std::string message;
  int got = 0;
  while ((got = tw::NetworkManager::getInstance().receiveMessage(message, socket)) == 1) {
    if (!hosting && my_side < 0) {  // the host's first message: the side this guest plays
      my_side = message == "left" ? LEFT : message == "right" ? RIGHT : -1;
      if (my_side >= 0) return receiveInto(socket, sentTo(my_side), false);
      std::fputs("the host named no side to play\n", stderr);
      return false;
    }
    std::stringstream records(message);
    for (tw::Object* p_o : objects) {
      unsigned int mask = 0;
      if (p_o->deserialize(&records, &mask) != 0) break;  // logged; what follows cannot be trusted
      if (keep_changes) p_o->setModified(mask);
    }
  }
  return got == 0;
}

// Runs the match, drawing nothing: the keys, the connections and each step's
// exchange of records.
class Match : public tw::Object {
 public:
  Match() {
    setSolidness(tw::SPECTRAL);
    registerInterest(tw::STEP_EVENT);
    registerInterest(tw::KEYSTROKE_EVENT);
    if (hosting) registerInterest(tw::NETWORK_ACCEPT_EVENT);
  }

  int eventHandler(const tw::Event* p_e) override {
    if (const auto* p_accept = p_e->as<tw::EventNetworkAccept>()) {
      seat(p_accept->getSocket());
    } else if (const auto* p_key = p_e->as<tw::EventKeystroke>()) {
      press(p_key->getKey());
    } else if (p_e->as<tw::EventStep>() != nullptr) {
      if (hosting) {
        exchangeAsHost();
      } else {
        exchangeAsGuest();
      }
    }
    return 1;
  }

 private:
  // The first free side, -1 when every side is taken (or was).
  static int freeSide() {
    for (int side : {LEFT, RIGHT}) {
      if (side != my_side && guests[side] == -1) return side;
    }
    return -1;
  }

  // Tells a new guest its side; the ball serves once every side is taken.
  // One too many is closed at once.
  static void seat(int socket) {
    tw::NetworkManager& net = tw::NetworkManager::getInstance();
    const int side = freeSide();
    if (side < 0 || net.sendMessage(side == LEFT ? "left" : "right", socket) != 0) {
      net.close(socket);
      return;
    }
    guests[side] = socket;
    wholeCourtNext();
    if (freeSide() < 0) ball->setVelocity(tw::Vector(1, 0.35f));  // cells per step
  }

  // Marks everything the host sends as changed, so that its next messages
  // carry the whole court: a guest that has just joined has seen none of it.
  static void wholeCourtNext() {
    for (tw::Object* p_o : court()) p_o->setModified(tw::ALL_OBJECT_ATTRIBUTES);
    for (const auto& score : scores) {  // and what a view object adds
      score.get()->setModified(tw::ALL_OBJECT_ATTRIBUTES | tw::VALUE | tw::APPEARANCE);
    }
  }

  static void press(tw::Keyboard::Key key) {
    if (key == tw::Keyboard::Q) endGame();
    if (my_side < 0) return;
    if (key == tw::Keyboard::UP_ARROW || key == tw::Keyboard::W) paddles[my_side]->steer(-1);
    if (key == tw::Keyboard::DOWN_ARROW || key == tw::Keyboard::S) paddles[my_side]->steer(1);
  }

  // The host takes each guest's paddle, then sends each guest what changed
  // elsewhere. A guest lost mid-match ends it; after the last point the host
  // falls silent, and ends once every guest has left.
  static void exchangeAsHost() {
    for (int side : {LEFT, RIGHT}) {
      if (guests[side] >= 0 && !receiveInto(guests[side], {paddles[side]}, true)) lose(side);
    }
    std::vector<Record> records;
    for (tw::Object* p_o : court()) records.push_back(recordOf(p_o));
    for (int side : {LEFT, RIGHT}) {
      // The ball, the other side's paddle and the scores: what sentTo(side) names.
      const std::vector<Record> sent = {records[0], records[2 - side], records[3], records[4]};
      if (guests[side] >= 0 && !sendIfChanged(sent, guests[side])) lose(side);
    }
  }

  static void lose(int side) {
    guests[side] = GONE;
    if (!matchWon() || (guests[LEFT] < 0 && guests[RIGHT] < 0)) endGame();
  }

  // A guest stays half a second after the match was won, so that its player
  // sees the final court and score before it leaves.
  void exchangeAsGuest() {
    if (host_peer < 0) return;
    if (matchWon() && ++steps_since_won == 15) endGame();
    const std::vector<tw::Object*> theirs =
        my_side >= 0 ? sentTo(my_side) : std::vector<tw::Object*>();
    bool still_there = receiveInto(host_peer, theirs, false);
    if (still_there && my_side >= 0) {
      still_there = sendIfChanged({recordOf(paddles[my_side])}, host_peer);
    }
    if (!still_there) {
      host_peer = -1;
      endGame();
    }
  }

  int steps_since_won = 0;  // a guest's steps since the match was won
};

tw::ViewObject* scoreView(const char* label, tw::Location where) {
  auto* p_view = new tw::ViewObject;  // the world owns it
  p_view->setViewString(label);
  p_view->setLocation(where);
  return p_view;
}

std::string label(int side) {
  const tw::ViewObject* p_score = scores[side].get();
  return p_score != nullptr ? p_score->getViewString() : "";
}
}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("example_pong");
  command_line.addOption("--host", "  --host [PORT]     host a match (on a free port without one)");
  command_line.addOption("--referee", "  --referee         host without playing: two guests play");
  command_line.addOption("--join", "  --join HOST PORT  join the match hosted there");
  command_line.addOption("--listen", "  --listen ADDRESS  the host's address (127.0.0.1)");
  command_line.addOption("--pages", "  --pages PORT      the host's port for browser pages (a free one)");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;

  hosting = command_line.has("--host");
  const bool refereeing = command_line.has("--referee");
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
  if (refereeing && !hosting) return command_line.refuse("--referee only with --host");

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
              : (host_peer = net.connect(host, port)) >= 0;
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

  // Every process makes the same objects in the same order, so that their ids
  // agree; a guest's score labels come from the host's records.
  if (hosting && !refereeing) my_side = LEFT;
  ball = new Piece(40);
  paddles[LEFT] = new Piece(2);
  paddles[RIGHT] = new Piece(77);
  scores[LEFT] = scoreView(refereeing ? "Left" : "Host", tw::TOP_LEFT);
  scores[RIGHT] = scoreView(refereeing ? "Right" : "Guest", tw::TOP_RIGHT);
  new Match;  // the world owns it
  game.run();
  std::printf("%s %d %s %d\n", label(LEFT).c_str(), score(LEFT), label(RIGHT).c_str(),
              score(RIGHT));
  game.shutDown();
  return 0;
}
