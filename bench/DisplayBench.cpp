// Time to draw a full screen of 80 x 24 characters through drawCharacter in a
// real window, the game's start screen, and an empty frame. Uses $DISPLAY when
// a server answers there, otherwise starts a private virtual X server (Xvfb)
// for the run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Sprite.h"
#include "engine/platform/Sfml.h"
#include "engine/resources/ResourceManager.h"

// Last: Xlib's macros clash with the headers above.
#include <X11/Xlib.h>

namespace {

// Waits up to 3 s for the server on display to accept a connection (a server
// of an earlier run may still be going away).
bool answers(const std::string& display) {
  for (int tries = 0; tries < 60; tries++) {
    Display* connection = XOpenDisplay(display.c_str());
    if (connection != nullptr) {
      XCloseDisplay(connection);
      return true;
    }
    usleep(50000);
  }
  return false;
}

// A virtual X server started for this run on a free display. It is stopped
// at exit, after the display manager (made after it) has released the window
// and the font.
class PrivateServer {
 public:
  bool start(std::string& why);
  ~PrivateServer() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }

 private:
  pid_t pid = -1;
};

bool PrivateServer::start(std::string& why) {
  int fds[2];
  if (pipe(fds) != 0) {
    why = "no pipe for Xvfb";
    return false;
  }
  pid = fork();
  if (pid == 0) {
    int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    close(fds[0]);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // The server writes the number and then a newline; closing the pipe before
  // the newline has arrived would make that second write kill it.
  std::string number;
  char c = 0;
  while (pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(fds[0]);
  if (number.empty()) {
    why = "no X display and Xvfb could not be started";
    return false;
  }
  std::string display = ":" + number;
  if (!answers(display)) {
    why = "Xvfb started on " + display + " but does not answer";
    return false;
  }
  setenv("DISPLAY", display.c_str(), 1);
  return tw::platform::displayAvailable();
}

// The display manager started once for all benchmarks, at the default
// 1024 x 768 pixels and 80 x 24 cells.
struct Session {
  Session() {
    static PrivateServer server;
    if (!tw::platform::displayAvailable() && !server.start(why)) return;
    setenv("TARNWICK_LOG", "/dev/null", 1);
    tw::LogManager::getInstance().startUp();
    tw::Config::getInstance().loadConfig("window_title:bench_display");
    if (tw::DisplayManager::getInstance().startUp() != 0) {
      why = "the display manager did not start";
      return;
    }
    ready = true;
  }
  bool ready = false;
  std::string why;
};

Session& session() {
  static Session s;
  return s;
}

bool prepared(benchmark::State& state) {
  if (session().ready) return true;
  std::fprintf(stderr, "bench_display skipped: %s\n", session().why.c_str());
  state.SkipWithError(session().why.c_str());
  return false;
}

void drawScreen(const tw::DisplayManager& dm) {
  for (int y = 0; y < 24; y++) {
    for (int x = 0; x < 80; x++) {
      dm.drawCharacter(tw::Vector(static_cast<float>(x), static_cast<float>(y)),
                       static_cast<char>('A' + (x + y) % 26), static_cast<tw::Color>(1 + (x + y) % 7));
    }
  }
}

// One frame as the game loop makes it: every cell drawn, then shown and cleared.
void BM_FullScreenFrame(benchmark::State& state) {
  if (!prepared(state)) return;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  for (auto _ : state) {
    drawScreen(dm);
    dm.swapBuffers();
  }
  state.counters["chars/frame"] = 80 * 24;
}
BENCHMARK(BM_FullScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The start screen's sprite file: beside the program when the game's data
// were built, otherwise in the source tree.
std::string startScreenFile() {
  const std::string beside = "sprites/gamestart-spr.txt";
  if (std::FILE* file = std::fopen(beside.c_str(), "r")) {
    std::fclose(file);
    return beside;
  }
  const std::string source = __FILE__;
  return source.substr(0, source.rfind("/bench/")) + "/game/sprites/gamestart-spr.txt";
}

// The game's start screen as the loop shows it: the full-window start sprite
// (blanks transparent) centred in the view, then shown and cleared.
void BM_StartScreenFrame(benchmark::State& state) {
  if (!prepared(state)) return;
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  if (!resources.isStarted()) resources.startUp();
  if (resources.getSprite("game_start") == nullptr &&
      resources.loadSprite(startScreenFile(), "game_start") != 0) {
    state.SkipWithError("the start screen's sprite did not load");
    return;
  }
  const tw::Sprite* p_sprite = resources.getSprite("game_start");
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  for (auto _ : state) {
    p_sprite->draw(0, tw::Vector(40, 12), p_sprite->getTransparency());
    dm.swapBuffers();
  }
}
BENCHMARK(BM_StartScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Showing and clearing an empty frame: the part of a frame not spent on characters.
void BM_EmptyFrame(benchmark::State& state) {
  if (!prepared(state)) return;
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  for (auto _ : state) dm.swapBuffers();
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
