// Time to draw a full screen of 80 x 24 characters through drawCharacter in a
// real window, against a copy of the earlier drawing (a background rectangle
// and a glyph per character, batched) and an empty frame; the game's start
// screen; a sprite-heavy game frame against an empty one; and a full screen
// of box-drawing, block and shade characters against one of ASCII letters, in
// the window and in the capture presenter (drawn, swapped and read back as
// text), as the median of rounds. Prints the ratios at the end. Uses $DISPLAY when a server answers
// there, otherwise starts a private virtual X server (Xvfb) for the run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/DisplayManager.h"
#include "engine/display/Presenter.h"
#include "engine/world/Sprite.h"
#include "engine/platform/Sfml.h"
#include "engine/resources/ResourceManager.h"
#include "bench/RatioReporter.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <memory>

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

// What the full screens beyond ASCII are made of: the lines of the
// box-drawing block, and blocks and shades (which paint the whole cell).
const char32_t BOX_LINES[] = U"\u2500\u2502\u250c\u2510\u2514\u2518\u251c\u2524\u252c\u2534\u253c"
                             U"\u2550\u2551\u2554\u2557\u255a\u255d\u2560\u2563\u2566\u2569\u256c";
const char32_t BLOCKS[] = U"\u2588\u2580\u2584\u258c\u2590\u2591\u2592\u2593";

void drawCharacterScreen(const tw::DisplayManager& dm, const char32_t* characters, int count) {
  for (int y = 0; y < 24; y++) {
    for (int x = 0; x < 80; x++) {
      dm.drawCharacter(tw::Vector(static_cast<float>(x), static_cast<float>(y)),
                       characters[(x + y) % count], static_cast<tw::Color>(1 + (x + y) % 7));
    }
  }
}

void drawBoxScreen(const tw::DisplayManager& dm) {
  drawCharacterScreen(dm, BOX_LINES, static_cast<int>(std::size(BOX_LINES)) - 1);
}

void drawBlockScreen(const tw::DisplayManager& dm) {
  drawCharacterScreen(dm, BLOCKS, static_cast<int>(std::size(BLOCKS)) - 1);
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

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Seconds of processor time of the whole process or of this thread.
double processorSeconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct FrameCost {
  double wall;    // seconds per frame
  double cpu;     // seconds of processor time per frame, every thread of the process
  double engine;  // the same of this thread alone: the engine's and the drawing calls' work
};

// The cost of frames frames drawn by draw, each shown (and, for a capture,
// read back as text).
using Draw = void (*)(const tw::DisplayManager&);

FrameCost frameCost(Draw draw, int frames, bool read_back) {
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  const double cpu = processorSeconds(CLOCK_PROCESS_CPUTIME_ID);
  const double engine = processorSeconds(CLOCK_THREAD_CPUTIME_ID);
  const auto begin = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; i++) {
    draw(dm);
    dm.swapBuffers();
    if (read_back) benchmark::DoNotOptimize(dm.snapshot().toText());
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - begin;
  return {wall.count() / frames, (processorSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu) / frames,
          (processorSeconds(CLOCK_THREAD_CPUTIME_ID) - engine) / frames};
}

// A full screen of other characters against one of ASCII letters, timed in
// rounds that draw both, one after the other, so that a slow spell of a
// shared machine falls on both: other/ascii is the median of the rounds'
// ratios (the goal is at most 1.1) by the clock; cpu_ by the processor time
// of the whole process (which, the window drawn in software, includes the
// rasterizer's threads and no other program's load); engine_ by that of the
// drawing thread alone.
void compareWithAscii(benchmark::State& state, Draw draw, int frames, bool read_back) {
  std::vector<double> ascii, other, ratios, cpu_ratios, engine_ratios;
  for (auto _ : state) {
    const FrameCost a = frameCost(drawScreen, frames, read_back);
    const FrameCost b = frameCost(draw, frames, read_back);
    ascii.push_back(a.wall);
    other.push_back(b.wall);
    ratios.push_back(b.wall / a.wall);
    cpu_ratios.push_back(b.cpu / a.cpu);
    engine_ratios.push_back(b.engine / a.engine);
  }
  state.counters["us_ascii"] = median(ascii) * 1e6;
  state.counters["us_other"] = median(other) * 1e6;
  state.counters["other/ascii"] = median(ratios);
  state.counters["cpu_other/ascii"] = median(cpu_ratios);
  state.counters["engine_other/ascii"] = median(engine_ratios);
}

// Box-drawing lines in every cell.
void BM_FullScreenBoxDrawingOverAscii(benchmark::State& state) {
  if (!prepared(state)) return;
  compareWithAscii(state, drawBoxScreen, 20, false);
}
BENCHMARK(BM_FullScreenBoxDrawingOverAscii)->Iterations(9)->Unit(benchmark::kMillisecond);

// Blocks and shades in every cell: each paints its whole cell, more pixels
// than a letter's, which a software rasterizer pays for.
void BM_FullScreenBlocksOverAscii(benchmark::State& state) {
  if (!prepared(state)) return;
  compareWithAscii(state, drawBlockScreen, 20, false);
}
BENCHMARK(BM_FullScreenBlocksOverAscii)->Iterations(9)->Unit(benchmark::kMillisecond);

// The earlier drawing, kept here as the baseline: every character appended
// to one batch as its cell's background rectangle and then its unfitted
// glyph, in a window of its own with the same size and font.
class PreviousDrawing {
 public:
  bool open() {
    window.reset(tw::platform::createWindow(1024, 768, "bench_previous", 5,
                                            tw::platform::WindowState::Windowed));
    return window && tw::platform::openFontFromFile(font, "tw-font.ttf");
  }
  void drawScreen() {
    for (int y = 0; y < 24; y++) {
      for (int x = 0; x < 80; x++) {
        const tw::Rgb c = tw::colorToRgb(static_cast<tw::Color>(1 + (x + y) % 7));
        drawCharacter(x * 12.8f, y * 32.0f, static_cast<char>('A' + (x + y) % 26),
                      sf::Color(c.r, c.g, c.b));
      }
    }
    window->draw(batch, sf::RenderStates(&font.getTexture(SIZE)));
    batch.clear();
    window->display();
    window->clear(sf::Color::Black);
  }

 private:
  static constexpr unsigned SIZE = 25;
  void quad(float l, float t, float r, float b, sf::Color color, sf::Vector2f uv1,
            sf::Vector2f uv2) {
    batch.append(sf::Vertex({l, t}, color, {uv1.x, uv1.y}));
    batch.append(sf::Vertex({r, t}, color, {uv2.x, uv1.y}));
    batch.append(sf::Vertex({l, b}, color, {uv1.x, uv2.y}));
    batch.append(sf::Vertex({l, b}, color, {uv1.x, uv2.y}));
    batch.append(sf::Vertex({r, t}, color, {uv2.x, uv1.y}));
    batch.append(sf::Vertex({r, b}, color, {uv2.x, uv2.y}));
  }
  void drawCharacter(float px, float py, char ch, sf::Color color) {
    quad(px - 1.28f, py + 6.4f, px - 1.28f + 12.8f, py + 6.4f + 32.0f, sf::Color::Black, {1, 1},
         {1, 1});
    const unsigned char code = static_cast<unsigned char>(ch);
    const sf::Glyph glyph = tw::platform::getGlyph(font, code, SIZE, true);
    const sf::FloatRect& b = glyph.bounds;
    const sf::IntRect& r = glyph.textureRect;
    quad(px + b.left - 1, py + SIZE + b.top - 1, px + b.left + b.width + 1,
         py + SIZE + b.top + b.height + 1, color,
         {static_cast<float>(r.left) - 1, static_cast<float>(r.top) - 1},
         {static_cast<float>(r.left + r.width) + 1, static_cast<float>(r.top + r.height) + 1});
  }

  std::unique_ptr<sf::RenderWindow> window;
  sf::Font font;
  sf::VertexArray batch = tw::platform::createTriangleBatch();
};

void BM_FullScreenFramePrevious(benchmark::State& state) {
  if (!prepared(state)) return;
  static PreviousDrawing previous;
  static const bool opened = previous.open();
  if (!opened) {
    state.SkipWithError("the baseline's window or font did not open");
    return;
  }
  for (auto _ : state) previous.drawScreen();
}
BENCHMARK(BM_FullScreenFramePrevious)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A sprite file of the game: beside the program when the game's data were
// built, otherwise in the source tree.
std::string gameSpriteFile(const std::string& name) {
  const std::string beside = "sprites/" + name;
  if (std::FILE* file = std::fopen(beside.c_str(), "r")) {
    std::fclose(file);
    return beside;
  }
  const std::string source = __FILE__;
  return source.substr(0, source.rfind("/bench/")) + "/game/sprites/" + name;
}

const tw::Sprite* gameSprite(const std::string& file) {
  tw::ResourceManager& resources = tw::ResourceManager::getInstance();
  if (!resources.isStarted()) resources.startUp();
  if (resources.getSprite(file) == nullptr) resources.loadSprite(gameSpriteFile(file), file);
  return resources.getSprite(file);
}

// A busy moment of a run: ground, two trees, the sun, the runner, two of
// each enemy and boulders, overlapping as they do in play.
void BM_SpriteHeavyGameFrame(benchmark::State& state) {
  if (!prepared(state)) return;
  struct Placed {
    const char* file;
    float x, y;
  };
  const Placed scene[] = {
      {"tree-spr1.txt", 5, 14},   {"tree-spr2.txt", 40, 14},  {"sun-spr.txt", 70, 4},
      {"runner.txt", 10, 18},     {"panther-spr.txt", 30, 20}, {"panther-spr.txt", 55, 20},
      {"vulture-spr.txt", 25, 9}, {"vulture-spr.txt", 60, 7}, {"rock-spr.txt", 45, 21},
      {"rock-spr.txt", 70, 21},   {"bullet-spr.txt", 33, 12},
  };
  std::vector<std::pair<const tw::Sprite*, tw::Vector>> sprites;
  for (const Placed& p : scene) {
    if (const tw::Sprite* sprite = gameSprite(p.file)) sprites.push_back({sprite, {p.x, p.y}});
  }
  const tw::Sprite* ground = gameSprite("ground-tile.txt");
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  for (auto _ : state) {
    for (int x = 0; ground != nullptr && x < 80; x += ground->getWidth()) {
      ground->draw(0, tw::Vector(static_cast<float>(x), 23), ground->getTransparency());
    }
    for (const auto& [sprite, where] : sprites) sprite->draw(0, where, sprite->getTransparency());
    dm.drawString(tw::Vector(70, 1), "Score: 120", tw::JUSTIFY_LEFT, tw::YELLOW);
    dm.swapBuffers();
  }
}
BENCHMARK(BM_SpriteHeavyGameFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The game's start screen as the loop shows it: the full-window start sprite
// (blanks transparent) centred in the view, then shown and cleared.
void BM_StartScreenFrame(benchmark::State& state) {
  if (!prepared(state)) return;
  const tw::Sprite* p_sprite = gameSprite("gamestart-spr.txt");
  if (p_sprite == nullptr) {
    state.SkipWithError("the start screen's sprite did not load");
    return;
  }
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

// The display manager moved to the capture presenter (after the window's
// benchmarks, which run first).
bool preparedCapture(benchmark::State& state) {
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  if (dm.getPresenter() == nullptr || std::string(dm.getPresenter()->getName()) != "capture") {
    if (dm.isStarted()) dm.shutDown();
    if (!tw::LogManager::getInstance().isStarted()) {
      setenv("TARNWICK_LOG", "/dev/null", 1);
      tw::LogManager::getInstance().startUp();
    }
    tw::Config::getInstance().loadConfig("display:capture");
    if (dm.startUp() != 0) {
      state.SkipWithError("the capture presenter did not start");
      return false;
    }
  }
  return true;
}

// The same in the capture presenter, each frame also read back as text, as
// a test or a server reads it.
void BM_CaptureBoxDrawingOverAscii(benchmark::State& state) {
  if (!preparedCapture(state)) return;
  compareWithAscii(state, drawBoxScreen, 500, true);
}
BENCHMARK(BM_CaptureBoxDrawingOverAscii)->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return tw_bench::runWithRatios(
      argc, argv,
      {{"full screen, now / before", "BM_FullScreenFrame", "BM_FullScreenFramePrevious", 0.55},
       {"sprite-heavy frame / empty frame", "BM_SpriteHeavyGameFrame", "BM_EmptyFrame", 1.5}});
}
