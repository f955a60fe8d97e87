// Save and load: move the gardener '@' with the arrow keys and plant a letter
// with its key. On leaving (Q or closing) the garden is saved to garden.sav
// (or FILE) through object serialization; the next run loads it back. --new
// starts over.
//   example_garden [--window | --terminal | --capture] [--new] [FILE]
// The file holds, per object: its letter, the record's length (4 bytes) and
// the record Object::serialize wrote.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "tarnwick.h"

namespace {

std::string save_file = "garden.sav";

// A planted letter, or the gardener when the letter is '@'.
class Plant : public tw::Object {
 public:
  explicit Plant(char letter) : ch(letter) {
    setType(letter == '@' ? "Gardener" : "Plant");
    setSolidness(tw::SPECTRAL);
    setAltitude(letter == '@' ? 3 : 2);  // the gardener is drawn over plants
    if (letter == '@') registerInterest(tw::KEYSTROKE_EVENT);
  }
  char getLetter() const { return ch; }
  int eventHandler(const tw::Event* p_e) override;
  int draw() override {
    return tw::DisplayManager::getInstance().drawCharacter(getPosition(), ch,
                                                           ch == '@' ? tw::WHITE : tw::GREEN);
  }

 private:
  char ch;
};

// One step or one plant per keystroke, in every presenter.
int Plant::eventHandler(const tw::Event* p_e) {
  const auto* p_key = p_e->as<tw::EventKeystroke>();
  if (p_key == nullptr) return 0;
  const tw::Keyboard::Key key = p_key->getKey();
  tw::Vector step;
  if (key == tw::Keyboard::LEFT_ARROW) step = tw::Vector(-1, 0);
  if (key == tw::Keyboard::RIGHT_ARROW) step = tw::Vector(1, 0);
  if (key == tw::Keyboard::UP_ARROW) step = tw::Vector(0, -1);
  if (key == tw::Keyboard::DOWN_ARROW) step = tw::Vector(0, 1);
  if (key == tw::Keyboard::Q) tw::GameManager::getInstance().setGameOver();
  if (key >= tw::Keyboard::A && key <= tw::Keyboard::Z && key != tw::Keyboard::Q) {
    (new Plant(static_cast<char>('A' + (key - tw::Keyboard::A))))->setPosition(getPosition());
  }
  tw::WorldManager::getInstance().moveObject(this, getPosition() + step);
  return 1;
}

int save() {
  std::ofstream out(save_file, std::ios::binary | std::ios::trunc);
  tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) {
    auto* p_plant = dynamic_cast<Plant*>(all[i]);
    if (p_plant == nullptr) continue;
    std::stringstream record;
    p_plant->serialize(&record, tw::ALL_OBJECT_ATTRIBUTES);
    const std::string bytes = record.str();
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    out.put(p_plant->getLetter());
    out.write(reinterpret_cast<const char*>(&length), sizeof length);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  out.flush();
  return out ? 0 : -1;
}

void clearGarden() {
  tw::ObjectList all = tw::WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < all.getCount(); i++) tw::WorldManager::getInstance().markForDelete(all[i]);
}

// Creates every saved object; false when there is no file or it is damaged.
bool load() {
  std::ifstream in(save_file, std::ios::binary);
  bool gardener = false;
  char letter = 0;
  std::uint32_t length = 0;
  while (in.get(letter) && in.read(reinterpret_cast<char*>(&length), sizeof length)) {
    if (length > 4096) return false;  // no record is this long
    std::string bytes(length, '\0');
    if (!in.read(&bytes[0], length)) return false;
    std::stringstream record(bytes);
    if ((new Plant(letter))->deserialize(&record) != 0) return false;  // see the log
    gardener = gardener || letter == '@';
  }
  return gardener;
}

}  // namespace

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("example_garden");
  command_line.addOption("--new", "  --new           start a new garden");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  const bool fresh = command_line.has("--new");
  for (const std::string& arg : command_line.getArguments()) {
    if (arg != "--new") save_file = arg;  // the last word names the file
  }

  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {  // the reason is on standard error and in the log
    game.shutDown();
    return 1;
  }
  if (fresh || !load()) {
    clearGarden();  // what a damaged file left
    (new Plant('@'))->setPosition(tw::Vector(40, 12));
  }
  game.run();
  const int saved = save();
  game.shutDown();
  return saved == 0 ? 0 : 1;
}
