#include "engine/loop/GameManager.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "engine/core/Clock.h"
#include "engine/core/Config.h"
#include "engine/core/EventStep.h"
#include "engine/core/FramePacer.h"
#include "engine/core/EventRouting.h"
#include "engine/core/LogManager.h"
#include "engine/core/LoopState.h"
#include "engine/core/Random.h"
#include "engine/core/Version.h"
#include "engine/world/Animation.h"
#include "engine/world/Object.h"
#include "engine/world/Sprite.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Presenter.h"
#include "engine/input/InputManager.h"
#include "engine/loop/DebugOverlay.h"
#include "engine/loop/HotReload.h"
#include "engine/network/NetworkManager.h"
#include "engine/loop/Spectating.h"
#include "engine/path/PathManager.h"
#include "engine/platform/Files.h"
#include "engine/platform/Timer.h"
#include "engine/resources/ResourceManager.h"
#include "engine/world/WorldManager.h"

namespace tw {

namespace {
// Path expansions each pending search gets per step while input is recorded
// or replayed, in place of a slice of the frame's spare time, so that a
// search ends on the same step on any machine.
const int PATH_PASSES_PER_STEP = 500;
const char* const STARS = "****************************************************";
// The recorded value that says a recording was made in turn-based play.
const char* const TURNS_VALUE = "tw-loop-turns";

// Starts one manager; writes the failure line (no level) or the success line (level 1).
int startManager(Manager& manager, const char* failure, const char* success) {
  const LogManager& log = LogManager::getInstance();
  if (manager.startUp() != 0) {
    log.writeLog("%s", failure);
    return -1;
  }
  log.writeLog(1, "%s", success);
  return 0;
}

void stopManager(Manager& manager, const char* stopped) {
  if (!manager.isStarted()) return;
  manager.shutDown();
  LogManager::getInstance().writeLog(1, "%s", stopped);
}
}  // namespace

GameManager::GameManager()
    : paused(false), adjust(0) {
  setType("GameManager");
}

namespace {
Manager& instance() { return GameManager::getInstance(); }
const bool claimed = EventRouting::claim(STEP_EVENT, instance);
}  // namespace

GameManager::~GameManager() = default;

GameManager& GameManager::getInstance() {
  static GameManager instance;
  return instance;
}

bool GameManager::isValid(std::string event_type) const { return event_type == STEP_EVENT; }

void GameManager::writeBanner() const {
  const LogManager& log = LogManager::getInstance();
  log.writeLog("%s", STARS);
  const Version version = getVersion();  // the library's own, whatever header a game had
  log.writeLog("** Tarnwick version %d.%02d **", version.major_version, version.minor_version);
  log.writeLog("** Game engine started **");
  log.writeLog("%s", STARS);
}

void GameManager::writeWorkingDirectory() const {
  const LogManager& log = LogManager::getInstance();
  char buffer[256];
  log.writeLog(1, "Working directory:");
  if (getcwd(buffer, sizeof(buffer)) != nullptr) {
    log.writeLog(1, "  %s", buffer);
  } else {
    log.writeLog(1, "  %s", "(full path too long)");
  }
}

int GameManager::startEngineManagers() {
  if (startManager(DisplayManager::getInstance(),
                   "GameManager::startUp(): Error! Starting display manager.",
                   "Display manager started.") != 0 ||
      startManager(InputManager::getInstance(),
                   "GameManager::startUp(): Error! Starting input manager.",
                   "Input manager started.") != 0) {
    return -1;
  }
  if (Config::getInstance().getNetworking() &&
             startManager(NetworkManager::getInstance(),
                          "GameManager::startUp(): Error! Starting network manager.",
                          "Network manager started.") != 0) {
    return -1;
  }
  if (startManager(ResourceManager::getInstance(),
                   "GameManager::startUp(): Error! Starting resource manager.",
                   "Resource manager started.") != 0 ||
      startManager(WorldManager::getInstance(), "GameManager::startUp(): Error starting world manager.",
                   "World manager started.") != 0 ||
      startManager(PathManager::getInstance(), "GameManager::startUp(): Error starting path manager.",
                   "Path manager started.") != 0) {
    return -1;
  }
  return Spectating::getInstance().startUp();
}

void GameManager::sizeWorld() {
  const DisplayManager& display = DisplayManager::getInstance();
  const Box world(Vector(0, 0), static_cast<float>(display.getHorizontalChars()),
                  static_cast<float>(display.getVerticalChars()));
  WorldManager& world_manager = WorldManager::getInstance();
  world_manager.setBoundary(world);
  world_manager.setView(world);
  world_manager.setViewSlack(Vector(0.33333334f, 0.33333334f));
}

// A replay runs at its recording's frame time; a recording keeps this one.
void GameManager::takeReplaySettings() {
  const InputManager& input = InputManager::getInstance();
  InputRecording* p_recording = input.getRecording();
  if (input.isReplaying()) LoopState::getInstance().setFrameTime(p_recording->getFrameTime());
  if (input.isRecording()) p_recording->setFrameTime(getFrameTime());
}

// Turn-based play from the settings; a replay takes its recording's mode,
// which a recording keeps when it is turn-based (others stay as they were).
void GameManager::takeLoopMode() {
  turn_based = Config::getInstance().getLoopMode() == "turns";
  redraw_wanted = true;
  const InputManager& input = InputManager::getInstance();
  InputRecording* p_recording = input.getRecording();
  int recorded = 0;
  if (input.isReplaying() && p_recording->getValue(TURNS_VALUE, recorded)) turn_based = recorded != 0;
  if (input.isRecording() && turn_based) p_recording->setValue(TURNS_VALUE, 1);
}

// A replay takes its recording's seed; a recording keeps the seed used.
void GameManager::seedRandom() const {
  const InputManager& input = InputManager::getInstance();
  int seed = Config::getInstance().getRandomSeed();
  if (seed == 0) seed = static_cast<int>(static_cast<unsigned>(time(nullptr)));
  if (input.isReplaying()) seed = input.getRecording()->getSeed();
  if (input.isRecording()) input.getRecording()->setSeed(seed);
  if (seed == -1) return;
  LogManager::getInstance().writeLog(10, "GameManager()::startUp(): srand() seed with %d", seed);
  // The engine's own sequence is the same in every build; rand() is seeded
  // too for games that still draw from it natively.
  seedRandomNumbers(static_cast<unsigned>(seed));
  srand(static_cast<unsigned>(seed));
}

// The log may be a file nobody is looking at: a failed start-up also says
// what failed, and where the log is, in one line on standard error.
void GameManager::reportStartFailure() const {
  const LogManager& log = LogManager::getInstance();
  std::string reason = log.getFirstError();
  const std::size_t marker = reason.find("Error! ");
  if (marker != std::string::npos) reason.erase(0, marker + 7);
  std::fprintf(stderr, "Tarnwick could not start: %s (the log is %s)\n",
               reason.empty() ? "a manager failed to start" : reason.c_str(),
               platform::absolutePath(log.getLogFileName()).c_str());
}

int GameManager::startUp() {
  LogManager& log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", getType().c_str(),
                 getType().c_str());
    return -1;
  }
  Config::getInstance().loadConfig("");
  if (log.startUp() != 0) {
    log.writeLog("GameManager::startUp(): Error! Starting log manager.");
    return -1;
  }
  writeBanner();
  Config::getInstance().printConfig();
  writeWorkingDirectory();
  log.writeLog(1, "Log Manager started.");
  LoopState::getInstance().setFrameTime(Config::getInstance().getFrameTime());
  log.writeLog(5, "GameManager::startUp(): frame time is %d milliseconds", getFrameTime());
  if (startEngineManagers() != 0) {
    // Stopped first, so that a terminal is back to normal and shows the line.
    stopEngineManagers();
    reportStartFailure();
    return -1;
  }
  takeReplaySettings();
  takeLoopMode();
  HotReload::getInstance().start(InputManager::getInstance().isRecording() ||
                                 InputManager::getInstance().isReplaying());
  sizeWorld();
  WorldManager::getInstance().setCollisionTrace(Config::getInstance().getLogCollisions());
  DebugOverlay::getInstance().startUp();
  seedRandom();
  if (platform::timeBeginPeriod(1) == platform::TIMERR_NOCANDO) {
    log.writeLog(1, "GameManager()::startUp(): Warning!  timeBeginPeriod() cannot accept 1 msec.");
  }
  LoopState::getInstance().setGameOver(false);
  paused = false;
  LoopState::getInstance().setStepCount(0);
  adjust = 0;
  Manager::startUp();
  log.writeLog(1, "GameManager successfully started.");
  return 0;
}

void GameManager::stopEngineManagers() {
  DebugOverlay::getInstance().shutDown();
  Spectating::getInstance().shutDown();
  stopManager(PathManager::getInstance(), "Path manager stopped");
  stopManager(WorldManager::getInstance(), "World manager stopped");
  stopManager(ResourceManager::getInstance(), "Resource manager stopped");
  if (Config::getInstance().getNetworking()) {
    stopManager(NetworkManager::getInstance(), "Network manager stopped");
  }
  stopManager(InputManager::getInstance(), "Input manager stopped");
  stopManager(DisplayManager::getInstance(), "Display manager stopped");
}

void GameManager::shutDown() {
  LogManager& log = LogManager::getInstance();
  LoopState::getInstance().setGameOver(true);
  // A quit key stops the engine from inside the loop, and the program stops
  // it again after the loop: the second stop has nothing left to say.
  if (!isStarted() && !log.isStarted()) return;
  if (platform::timeEndPeriod(1) == platform::TIMERR_NOCANDO) {
    log.writeLog(1, "GameManager()::shutDown(): Warning! timeEndPeriod() cannot accept 1 msec.");
  }
  HotReload::getInstance().stop();
  stopEngineManagers();
  log.writeLog("%s", STARS);
  log.writeLog("** Game engine stopped **");
  if (log.isStarted()) log.shutDown();
  Manager::shutDown();
}

void GameManager::serveNetwork() const {
  Spectating::getInstance().serve();
  if (!Config::getInstance().getNetworking()) return;
  NetworkManager& network = NetworkManager::getInstance();
  if (network.isServer()) network.acceptPending();
  if (network.isConnected(-1)) network.sendQueued();
}

namespace {
// Adds the time since the last lap to a phase of the step.
class PhaseLaps {
 public:
  explicit PhaseLaps(const Clock& clock) : clock(clock), mark(clock.split()) {}
  void lap(DebugOverlay::Phase phase) {
    const int now = clock.split();
    phase_us[phase] += now - mark;
    mark = now;
  }
  int phase_us[DebugOverlay::PHASE_COUNT] = {};

 private:
  const Clock& clock;
  int mark;
};
}  // namespace

void GameManager::runStep() {
  if (turn_based) {
    runTurn();
    return;
  }
  Clock clock;
  PhaseLaps laps(clock);
  DebugOverlay& overlay = DebugOverlay::getInstance();
  WorldManager& world = WorldManager::getInstance();
  world.setCollisionTiming(overlay.isShown());
  // Files saved since the last frame show in this one.
  HotReload::getInstance().check();
  const bool stepping = !paused;
  if (stepping) {
    const EventStep step(getStepCount());
    onEvent(&step);
  }
  laps.lap(DebugOverlay::UPDATE);
  DisplayManager::getInstance().swapBuffers();
  laps.lap(DebugOverlay::PRESENTING);
  InputManager::getInstance().getInput();
  if (paused) {
    laps.lap(DebugOverlay::UPDATE);
    drawPaused();
  } else {
    world.update();
    laps.lap(DebugOverlay::UPDATE);
    world.draw();
  }
  laps.lap(DebugOverlay::DRAWING);
  serveNetwork();
  laps.lap(DebugOverlay::UPDATE);
  if (!paused) cyclePaths(clock);
  laps.lap(DebugOverlay::PATHS);
  finishStep(laps.phase_us, clock.split());
  sleepOutFrame(clock);
  if (stepping) LoopState::getInstance().setStepCount(getStepCount() + 1);
}

// Input first: a frame that brought none, with nothing in motion, is only
// waited out. A step's frame is shown at once, as the next step may be long
// in coming.
void GameManager::runTurn() {
  Clock clock;
  HotReload::getInstance().check();
  InputManager& input = InputManager::getInstance();
  const long delivered = input.getDeliveredCount();
  input.getInput();
  serveNetwork();
  if (!redraw_wanted && input.getDeliveredCount() == delivered && !worldMoves()) {
    sleepOutFrame(clock);
    return;
  }
  redraw_wanted = false;
  PhaseLaps laps(clock);
  const bool stepping = !paused;
  if (stepping) {
    const EventStep step(getStepCount());
    onEvent(&step);
  }
  if (paused) {
    drawPaused();
  } else {
    WorldManager::getInstance().update();
    laps.lap(DebugOverlay::UPDATE);
    WorldManager::getInstance().draw();
  }
  laps.lap(DebugOverlay::DRAWING);
  if (!paused) cyclePaths(clock);
  laps.lap(DebugOverlay::PATHS);
  finishStep(laps.phase_us, clock.split());
  DisplayManager::getInstance().swapBuffers();
  sleepOutFrame(clock);
  if (stepping) LoopState::getInstance().setStepCount(getStepCount() + 1);
}

// Whether a step would change the frame with no input: an object that moves
// or animates, or a search that goes on.
bool GameManager::worldMoves() const {
  if (PathManager::getInstance().getPendingCount() > 0) return true;
  const ObjectList objects = WorldManager::getInstance().getAllObjects();
  for (int i = 0; i < objects.getCount(); i++) {
    const Object* p_object = objects[i];
    const Vector velocity = p_object->getVelocity();
    if (velocity.getX() != 0.0f || velocity.getY() != 0.0f) return true;
    const Animation animation = p_object->getAnimation();
    const Sprite* p_sprite = animation.getSprite();
    if (p_sprite != nullptr && p_sprite->getFrameCount() > 1 && animation.getSlowdownCount() != -1) {
      return true;
    }
  }
  return false;
}

// The step's figures to the overlay, which then draws over the frame; what
// other libraries printed meanwhile to the log.
void GameManager::finishStep(int* phase_us, int step_us) const {
  const int collisions = static_cast<int>(WorldManager::getInstance().takeCollisionTime() / 1000);
  phase_us[DebugOverlay::COLLISIONS] = collisions;
  phase_us[DebugOverlay::UPDATE] = std::max(0, phase_us[DebugOverlay::UPDATE] - collisions);
  DebugOverlay& overlay = DebugOverlay::getInstance();
  overlay.recordStep(phase_us, step_us);
  if (DisplayManager::getInstance().isStarted()) overlay.draw();
  LogManager::getInstance().writeLibraryMessages();
}

// The world as it stands, every animation held on its frame.
void GameManager::drawPaused() const {
  Animation::setHeld(true);
  WorldManager::getInstance().draw();
  Animation::setHeld(false);
}

void GameManager::cyclePaths(const Clock& clock) const {
  const InputManager& input = InputManager::getInstance();
  if (input.isRecording() || input.isReplaying()) {
    PathManager::getInstance().cyclePasses(PATH_PASSES_PER_STEP);
    return;
  }
  PathManager::getInstance().cycle(FramePacer::pathBudgetMs(getFrameTime(), clock.split(), adjust));
}

void GameManager::sleepOutFrame(const Clock& clock) {
  // A replay nobody watches runs as fast as it can.
  if (InputManager::getInstance().isReplaying()) {
    const Presenter* p_presenter = DisplayManager::getInstance().getPresenter();
    if (p_presenter == nullptr || !p_presenter->isInteractive()) return;
  }
  const int loop_time = clock.split();
  const int sleep_time = FramePacer::sleepTime(getFrameTime(), loop_time, adjust);
  if (sleep_time > 0) {
    const int before = clock.split();
    platform::sleepMilliseconds(sleep_time / 1000);
    const int after = clock.split();
    adjust = FramePacer::adjustAfterSleep(before, after, sleep_time);
    return;
  }
  if (FramePacer::reportOverrun(adjust, getFrameTime(), getStepCount())) {
    LogManager::getInstance().writeLog(
        "GameManager::run(): Can't keep up! frame_time %d ms, split %d ms", getFrameTime(),
        loop_time / 1000);
  }
  adjust = 0;
}

void GameManager::run() {
  LogManager::getInstance().writeLog(1, "GameManager::run(): starting game loop");
  LoopState::getInstance().setGameOver(false);
  LoopState::getInstance().setStepCount(0);
  adjust = 0;
  redraw_wanted = true;
  do {
    runStep();
    platform::yieldToHost();
  } while (!LoopState::getInstance().getGameOver());
  LogManager::getInstance().writeLog(1, "GameManager::run(): end of game loop");
}

void GameManager::setGameOver(bool new_game_over) {
  LoopState::getInstance().setGameOver(new_game_over);
}

bool GameManager::getGameOver() const { return LoopState::getInstance().getGameOver(); }

void GameManager::setPaused(bool new_paused) {
  if (new_paused == paused) return;
  paused = new_paused;
  LogManager::getInstance().writeLog(1, "GameManager::setPaused(): %s.",
                                     paused ? "Game paused" : "Game resumed");
}

bool GameManager::isPaused() const { return paused; }

void GameManager::setTurnBased(bool new_turn_based) {
  turn_based = new_turn_based;
  redraw_wanted = true;
}

bool GameManager::isTurnBased() const { return turn_based; }

int GameManager::getSpectatePort() const {
  const Spectating& spectating = Spectating::getInstance();
  return spectating.isOn() ? spectating.getPort() : -1;
}

void GameManager::requestRedraw() { redraw_wanted = true; }

int GameManager::getFrameTime() const { return LoopState::getInstance().getFrameTime(); }

int GameManager::getStepCount() const { return LoopState::getInstance().getStepCount(); }

}  // namespace tw
