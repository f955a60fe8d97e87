// A small roguelike: walk a dungeon of rooms and corridors with the arrow
// keys (or h j k l), bump into a monster to fight it, and clear the level.
// What you have seen stays on the map, in dimmed colours; monsters that see you chase
// you. Q saves the game and quits; the next run takes it up again (a file
// that cannot be read is reported and a new game begins). N starts over.
//   example_roguelike [--window | --terminal | --capture] [--new] [FILE]
//
// How it is built, from the engine's parts:
//   - tw::BspTree cuts the map into parts; each leaf gets a room, and the
//     rooms of sibling parts are joined by corridors.
//   - tw::CellMap holds which cells can be walked on and seen through;
//     tw::FieldOfView computes what the player sees on it.
//   - tw::DijkstraMap holds every cell's distance to the player; a monster
//     that sees the player steps downhill on it.
//   - Two tw::RandomGenerator streams (the map's and the fights'), made from
//     the engine's seed, so a recorded game replays exactly; their states go
//     into the saved game.
//   - The loop runs in turns (loop_mode:turns): nothing is redrawn while the
//     player thinks. Keystroke events (tw::EventKeystroke) drive every turn.
// The whole game is one world object that owns the map, the player and the
// monsters, so a turn reads top to bottom in Game::playerTurn.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tarnwick.h"

namespace {

// The map fills the screen but for a message line on top and a status line
// at the bottom.
const int MAP_WIDTH = 80;
const int MAP_HEIGHT = 22;
const int MAP_TOP = 1;  // screen row of the map's row 0
const int SIGHT = 8;    // cells the player sees
const std::size_t MONSTERS = 4;
const int PLAYER_HEALTH = 20;
const char* const SAVE_HEADER = "tarnwick-roguelike 1";

std::string save_file = "roguelike.sav";

const tw::Rgb WALL_LIT{170, 150, 110};
const tw::Rgb FLOOR_LIT{110, 110, 130};
const tw::Rgb WALL_GROUND{60, 50, 30};  // the colours behind walls and floor
const tw::Rgb FLOOR_GROUND{30, 30, 50};
const tw::Rgb PLAYER_COLOR{255, 255, 255};

struct Actor {
  int x = 0, y = 0;
  int health = 0;
  char glyph = '@';
  bool alive() const { return health > 0; }
};

struct Kind {
  char glyph;
  const char* name;
  int health;
  int damage;  // at most, per hit
  tw::Rgb color;
};
const Kind KINDS[] = {{'r', "rat", 3, 2, tw::colors::BROWN},
                      {'g', "goblin", 5, 3, tw::colors::LIME},
                      {'o', "orc", 8, 4, tw::colors::CRIMSON}};

const Kind& kindOf(char glyph) {
  for (const Kind& kind : KINDS) {
    if (kind.glyph == glyph) return kind;
  }
  return KINDS[0];
}

// Every cell of the screen the game draws goes through here: the character,
// its colour, and the colour behind it.
void drawTile(int x, int y, char ch, tw::Rgb color, tw::Rgb background) {
  tw::DisplayManager::getInstance().drawCharacter(tw::Vector(static_cast<float>(x), static_cast<float>(y)),
                                                  static_cast<char32_t>(ch), color, background);
}

// A dimmed colour for what the player remembers but does not see now.
tw::Rgb remembered(tw::Rgb color) { return tw::scaleColor(color, 0.4f); }

// ---- The dungeon ---------------------------------------------------------

// The map: walls and floor in the game's own array of characters, and the
// same as a cell map for sight and distances. Remembered cells stay known.
class Dungeon {
 public:
  Dungeon() : tiles(MAP_WIDTH * MAP_HEIGHT, '#'), known(tiles.size(), false), cells(MAP_WIDTH, MAP_HEIGHT) {}

  void generate(tw::RandomGenerator& random);
  bool isFloor(int x, int y) const { return cells.isWalkable(x, y); }
  char tile(int x, int y) const { return tiles[cells.indexOf(x, y)]; }
  bool isKnown(int x, int y) const { return known[cells.indexOf(x, y)]; }
  void remember(int x, int y) { known[cells.indexOf(x, y)] = true; }
  const tw::CellMap& map() const { return cells; }
  // The centre of a room, where the player starts; the others for monsters.
  const std::vector<std::pair<int, int>>& roomCentres() const { return centres; }

  void write(std::ostream& out) const;
  bool read(std::istream& in);

 private:
  void carveRoom(const tw::BspNode& part, tw::RandomGenerator& random);
  void carveCorridor(std::pair<int, int> from, std::pair<int, int> to);
  void carve(int x, int y) { tiles[cells.indexOf(x, y)] = '.'; }
  void updateCells() {
    cells.assign(tiles.data(), [](char c) { return c == '.'; }, [](char c) { return c == '.'; });
  }

  std::vector<char> tiles;  // '#' wall, '.' floor; row by row
  std::vector<bool> known;  // seen at some time
  tw::CellMap cells;
  std::vector<std::pair<int, int>> centres;
};

// Rooms in the leaves of a BSP tree; the two halves of every split joined by
// a corridor between a room of each, so every room can be reached.
void Dungeon::generate(tw::RandomGenerator& random) {
  tiles.assign(tiles.size(), '#');
  known.assign(known.size(), false);
  centres.clear();
  tw::BspTree tree(1, 1, MAP_WIDTH - 2, MAP_HEIGHT - 2);
  tree.splitRecursive(random, 4, 10, 6);
  std::vector<std::pair<int, int>> centre_of(tree.getNodes().size());
  for (int leaf : tree.getLeaves()) {
    carveRoom(tree.getNode(leaf), random);
    centre_of[static_cast<std::size_t>(leaf)] = centres.back();
  }
  // Children come after their parents: walking backwards, each part takes
  // the centre of its first half's room once both halves are joined.
  for (int i = static_cast<int>(tree.getNodes().size()) - 1; i >= 0; i--) {
    const tw::BspNode& node = tree.getNode(i);
    if (node.isLeaf()) continue;
    carveCorridor(centre_of[static_cast<std::size_t>(node.first_child)],
                  centre_of[static_cast<std::size_t>(node.second_child)]);
    centre_of[static_cast<std::size_t>(i)] = centre_of[static_cast<std::size_t>(node.first_child)];
  }
  updateCells();
}

// A room inside the part, with a wall of at least one cell all round.
void Dungeon::carveRoom(const tw::BspNode& part, tw::RandomGenerator& random) {
  const int width = random.getInt(4, part.width - 2);
  const int height = random.getInt(3, part.height - 2);
  const int left = part.x + random.getInt(1, part.width - width - 1);
  const int top = part.y + random.getInt(1, part.height - height - 1);
  for (int y = top; y < top + height; y++) {
    for (int x = left; x < left + width; x++) carve(x, y);
  }
  centres.push_back({left + width / 2, top + height / 2});
}

// Across, then down or up: an L-shaped corridor.
void Dungeon::carveCorridor(std::pair<int, int> from, std::pair<int, int> to) {
  int x = from.first, y = from.second;
  while (x != to.first) {
    carve(x, y);
    x += x < to.first ? 1 : -1;
  }
  while (y != to.second) {
    carve(x, y);
    y += y < to.second ? 1 : -1;
  }
  carve(x, y);
}

// As rows of text: the tiles, then the remembered cells as 1 and 0.
void Dungeon::write(std::ostream& out) const {
  for (int y = 0; y < MAP_HEIGHT; y++) out << std::string(&tiles[cells.indexOf(0, y)], MAP_WIDTH) << '\n';
  for (int y = 0; y < MAP_HEIGHT; y++) {
    for (int x = 0; x < MAP_WIDTH; x++) out << (isKnown(x, y) ? '1' : '0');
    out << '\n';
  }
}

bool Dungeon::read(std::istream& in) {
  std::string row;
  for (int y = 0; y < MAP_HEIGHT; y++) {
    if (!(in >> row) || row.size() != static_cast<std::size_t>(MAP_WIDTH) || row.find_first_not_of("#.") != std::string::npos) return false;
    for (int x = 0; x < MAP_WIDTH; x++) tiles[cells.indexOf(x, y)] = row[static_cast<std::size_t>(x)];
  }
  for (int y = 0; y < MAP_HEIGHT; y++) {
    if (!(in >> row) || row.size() != static_cast<std::size_t>(MAP_WIDTH) || row.find_first_not_of("01") != std::string::npos) return false;
    for (int x = 0; x < MAP_WIDTH; x++) known[cells.indexOf(x, y)] = row[static_cast<std::size_t>(x)] == '1';
  }
  updateCells();
  return true;
}

// ---- The game --------------------------------------------------------------

class Game : public tw::Object {
 public:
  Game();
  void newGame();
  // Takes up the saved game; false, with why, when the file is not one.
  bool load(const std::string& path, std::string& why);
  // Saves the game, or removes the file once the player has died.
  int save(const std::string& path) const;
  void say(const std::string& text) { message = text; }

  int eventHandler(const tw::Event* p_e) override;
  int draw() override;

 private:
  void playerTurn(int dx, int dy);
  void attack(Actor& monster);
  void monstersTurn();
  void monsterTurn(Actor& monster);
  void look();
  Actor* monsterAt(int x, int y);
  bool isFree(int x, int y);
  void drawMap() const;
  void drawStatus() const;
  void drawDeathScreen() const;
  void writeState(std::ostream& out) const;
  bool readState(std::istream& in);

  Dungeon dungeon;
  tw::FieldOfView sight;
  tw::DijkstraMap to_player;  // every cell's distance to the player
  tw::RandomGenerator map_random;
  tw::RandomGenerator fight_random;
  Actor player;
  std::vector<Actor> monsters;
  int turn = 0;
  std::string message;
  std::string killed_by;  // set when the player dies
};

Game::Game()
    : to_player(dungeon.map()),
      map_random(tw::RandomGenerator::fromEngineSeed(1)),
      fight_random(tw::RandomGenerator::fromEngineSeed(2)) {
  setType("Game");
  setSolidness(tw::SPECTRAL);
  registerInterest(tw::KEYSTROKE_EVENT);
}

// A new level: the player in the first room, a monster in each of the next.
void Game::newGame() {
  dungeon.generate(map_random);
  const auto& centres = dungeon.roomCentres();
  player = Actor{centres[0].first, centres[0].second, PLAYER_HEALTH, '@'};
  monsters.clear();
  for (std::size_t i = 1; i < centres.size() && monsters.size() < MONSTERS; i++) {
    const Kind& kind = KINDS[fight_random.getInt(0, 2)];
    monsters.push_back(Actor{centres[i].first, centres[i].second, kind.health, kind.glyph});
  }
  turn = 0;
  killed_by.clear();
  message = "Find and fight the monsters. Arrows or hjkl move, Q saves and quits.";
  look();
}

// The player's field of view, and the cells it adds to the remembered map.
void Game::look() {
  sight.compute(dungeon.map(), player.x, player.y, SIGHT, true, tw::FOV_SYMMETRIC);
  for (int y = 0; y < MAP_HEIGHT; y++) {
    for (int x = 0; x < MAP_WIDTH; x++) {
      if (sight.isVisible(x, y)) dungeon.remember(x, y);
    }
  }
}

int Game::eventHandler(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeystroke>();
  if (p_key == nullptr) return 0;
  switch (p_key->getKey()) {
    case tw::Keyboard::Q: tw::GameManager::getInstance().setGameOver(); break;
    case tw::Keyboard::N: newGame(); break;
    case tw::Keyboard::LEFT_ARROW: case tw::Keyboard::H: playerTurn(-1, 0); break;
    case tw::Keyboard::RIGHT_ARROW: case tw::Keyboard::L: playerTurn(1, 0); break;
    case tw::Keyboard::UP_ARROW: case tw::Keyboard::K: playerTurn(0, -1); break;
    case tw::Keyboard::DOWN_ARROW: case tw::Keyboard::J: playerTurn(0, 1); break;
    case tw::Keyboard::PERIOD: playerTurn(0, 0); break;  // wait a turn
    default: return 0;
  }
  return 1;
}

// One turn: the player moves or fights, then every monster takes its turn.
void Game::playerTurn(int dx, int dy) {
  if (!player.alive()) return;
  const int x = player.x + dx, y = player.y + dy;
  Actor* p_monster = monsterAt(x, y);
  if (p_monster != nullptr && (dx != 0 || dy != 0)) {
    attack(*p_monster);
  } else if (dungeon.isFloor(x, y)) {
    player.x = x;
    player.y = y;
    message.clear();
  }
  turn++;
  look();
  monstersTurn();
}

void Game::attack(Actor& monster) {
  const Kind& kind = kindOf(monster.glyph);
  const int damage = fight_random.getInt(1, 4);
  monster.health -= damage;
  message = "You hit the " + std::string(kind.name) + " for " + std::to_string(damage) + ".";
  if (!monster.alive()) message = "You kill the " + std::string(kind.name) + ".";
  bool any_left = false;
  for (const Actor& m : monsters) any_left = any_left || m.alive();
  if (!any_left) message = "The dungeon is quiet. N for a new one, Q to leave.";
}

// The distances to the player are computed once per turn, for every monster.
void Game::monstersTurn() {
  to_player.compute(player.x, player.y);
  for (Actor& monster : monsters) {
    if (monster.alive() && player.alive()) monsterTurn(monster);
  }
}

// A monster the player sees sees the player too (the field of view is
// symmetric): it attacks when next to the player, else steps downhill on
// the distances. Unseen, it stays where it is.
void Game::monsterTurn(Actor& monster) {
  if (!sight.isVisible(monster.x, monster.y)) return;
  const Kind& kind = kindOf(monster.glyph);
  if (std::abs(monster.x - player.x) <= 1 && std::abs(monster.y - player.y) <= 1) {
    const int damage = fight_random.getInt(1, kind.damage);
    player.health -= damage;
    message = "The " + std::string(kind.name) + " hits you for " + std::to_string(damage) + ".";
    if (!player.alive()) killed_by = kind.name;
    return;
  }
  int x = monster.x, y = monster.y;
  if (to_player.stepDownhill(x, y) && isFree(x, y)) {
    monster.x = x;
    monster.y = y;
  }
}

Actor* Game::monsterAt(int x, int y) {
  for (Actor& monster : monsters) {
    if (monster.alive() && monster.x == x && monster.y == y) return &monster;
  }
  return nullptr;
}

bool Game::isFree(int x, int y) {
  return dungeon.isFloor(x, y) && monsterAt(x, y) == nullptr && !(player.x == x && player.y == y);
}

// ---- Drawing -----------------------------------------------------------------

int Game::draw() {
  if (!player.alive()) {
    drawDeathScreen();
    return 0;
  }
  drawMap();
  for (const Actor& monster : monsters) {
    if (monster.alive() && sight.isVisible(monster.x, monster.y)) {
      drawTile(monster.x, monster.y + MAP_TOP, monster.glyph, kindOf(monster.glyph).color, FLOOR_GROUND);
    }
  }
  drawTile(player.x, player.y + MAP_TOP, '@', PLAYER_COLOR, FLOOR_GROUND);
  drawStatus();
  return 0;
}

// Cells in sight in full colour, remembered ones dimmed, unknown ones blank.
void Game::drawMap() const {
  for (int y = 0; y < MAP_HEIGHT; y++) {
    for (int x = 0; x < MAP_WIDTH; x++) {
      if (!dungeon.isKnown(x, y)) continue;
      const char ch = dungeon.tile(x, y);
      const tw::Rgb lit = ch == '#' ? WALL_LIT : FLOOR_LIT;
      const tw::Rgb ground = ch == '#' ? WALL_GROUND : FLOOR_GROUND;
      if (sight.isVisible(x, y)) {
        drawTile(x, y + MAP_TOP, ch, lit, ground);
      } else {
        drawTile(x, y + MAP_TOP, ch, remembered(lit), remembered(ground));
      }
    }
  }
}

void drawText(int y, const std::string& text, tw::Justification justification = tw::JUSTIFY_LEFT) {
  const float x = justification == tw::JUSTIFY_CENTER ? MAP_WIDTH / 2.0f : 0.0f;
  tw::DisplayManager::getInstance().drawString(tw::Vector(x, static_cast<float>(y)), text, justification,
                                               tw::WHITE);
}

void Game::drawStatus() const {
  int left = 0;
  for (const Actor& monster : monsters) left += monster.alive() ? 1 : 0;
  drawText(0, message);
  char status[80];
  std::snprintf(status, sizeof status, "HP %2d/%d   Turn %d   Monsters left %d", player.health, PLAYER_HEALTH,
                turn, left);
  drawText(MAP_TOP + MAP_HEIGHT, status);
}

void Game::drawDeathScreen() const {
  drawText(9, "You died.", tw::JUSTIFY_CENTER);
  drawText(11, "You were killed by the " + killed_by + " on turn " + std::to_string(turn) + ".",
           tw::JUSTIFY_CENTER);
  drawText(13, "N for a new game, Q to quit.", tw::JUSTIFY_CENTER);
}

// ---- Saving --------------------------------------------------------------------

// The saved game is text: a header line, the map, then the player, the
// generators' states and one line per monster.
void Game::writeState(std::ostream& out) const {
  out << SAVE_HEADER << '\n';
  dungeon.write(out);
  out << "player " << player.x << ' ' << player.y << ' ' << player.health << ' ' << turn << '\n';
  out << map_random.saveState() << '\n' << fight_random.saveState() << '\n';
  out << "monsters " << monsters.size() << '\n';
  for (const Actor& m : monsters) out << m.glyph << ' ' << m.x << ' ' << m.y << ' ' << m.health << '\n';
}

int Game::save(const std::string& path) const {
  if (!player.alive()) return std::remove(path.c_str()) == 0 || errno == ENOENT ? 0 : -1;
  std::ofstream out(path, std::ios::trunc);
  writeState(out);
  out.flush();
  return out ? 0 : -1;
}

// A generator's state, on a line of its own.
bool readGenerator(std::istream& in, tw::RandomGenerator& generator) {
  std::string line;
  while (line.empty() && std::getline(in, line)) {
  }
  return generator.restoreState(line) == 0;
}

bool Game::readState(std::istream& in) {
  std::string header, word;
  std::getline(in, header);
  if (header != SAVE_HEADER || !dungeon.read(in)) return false;
  if (!(in >> word >> player.x >> player.y >> player.health >> turn) || word != "player") return false;
  if (!dungeon.isFloor(player.x, player.y) || !player.alive()) return false;
  if (!readGenerator(in, map_random) || !readGenerator(in, fight_random)) return false;
  std::size_t count = 0;
  if (!(in >> word >> count) || word != "monsters" || count > MONSTERS) return false;
  monsters.assign(count, Actor{});
  for (Actor& m : monsters) {
    if (!(in >> m.glyph >> m.x >> m.y >> m.health) || kindOf(m.glyph).glyph != m.glyph) return false;
    if (!dungeon.isFloor(m.x, m.y)) return false;
  }
  return true;
}

bool Game::load(const std::string& path, std::string& why) {
  std::ifstream in(path);
  if (!in) {
    why = "no saved game";
    return false;
  }
  if (!readState(in)) {
    why = "damaged";
    return false;
  }
  message = "Welcome back.";
  killed_by.clear();
  look();
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("example_roguelike");
  command_line.addOption("--new", "  --new           start a new game");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  for (const std::string& arg : command_line.getArguments()) {
    if (arg != "--new") save_file = arg;  // the last word names the file
  }
  // Turns unless the configuration says otherwise.
  tw::Config::getInstance().addDefault("loop_mode:turns");
  tw::GameManager& game_manager = tw::GameManager::getInstance();
  if (game_manager.startUp() != 0) {  // the reason is on standard error and in the log
    game_manager.shutDown();
    return 1;
  }
  auto* p_game = new Game;  // owned by the world
  std::string why;
  if (command_line.has("--new") || !p_game->load(save_file, why)) {
    p_game->newGame();
    if (why == "damaged") {
      p_game->say("The saved game could not be read: a new game begins.");
      std::fprintf(stderr, "example_roguelike: the saved game in %s is damaged; a new game begins\n",
                   save_file.c_str());
    }
  }
  game_manager.run();
  const int saved = p_game->save(save_file);
  game_manager.shutDown();
  return saved == 0 ? 0 : 1;
}
