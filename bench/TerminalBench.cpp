// Bytes the terminal presenter writes per frame with TERM=xterm-256color: for
// a frame that did not change (the goal is none at all), for Veld's start
// screen drawn over an empty screen, and for a full screen of changing
// characters as the yardstick. The presenter writes into a pseudo-terminal,
// since it refuses anything that is not a terminal; this program reads and
// counts the bytes at the other end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include "engine/core/Color.h"
#include "engine/world/Sprite.h"
#include "engine/display/TerminalPresenter.h"
#include "engine/resources/SpriteParser.h"

namespace {

// A presenter open on a fresh 80 x 24 pseudo-terminal, with a thread reading
// the far end all along (a full terminal buffer would block the presenter).
class Session {
 public:
  Session() {
    setenv("TERM", "xterm-256color", 1);
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    struct winsize size = {24, 80, 0, 0};
    ioctl(slave, TIOCSWINSZ, &size);
    reader = std::thread([this] { readAll(); });
    presenter = std::make_unique<tw::TerminalPresenter>(slave, slave);
    opened = presenter->open(tw::PresenterSettings()) == 0;
    drain();
  }
  ~Session() {
    if (presenter) presenter->close();
    stop = true;
    if (reader.joinable()) reader.join();
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
  }
  // The bytes that arrived since the last call, once none came for 5 ms.
  long drain() {
    long now = received;
    do {
      now = received;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (received != now);
    const long bytes = now - counted;
    counted = now;
    return bytes;
  }

  std::unique_ptr<tw::TerminalPresenter> presenter;
  bool opened = false;

 private:
  void readAll() {
    char buffer[65536];
    struct pollfd p = {master, POLLIN, 0};
    while (!stop) {
      if (poll(&p, 1, 2) <= 0) continue;
      const ssize_t n = read(master, buffer, sizeof buffer);
      if (n > 0) received += n;
    }
  }

  int master = -1;
  int slave = -1;
  std::thread reader;
  std::atomic<bool> stop{false};
  std::atomic<long> received{0};
  long counted = 0;
};

// Veld's start screen: its sprite's first frame, centred as the game shows it.
tw::DrawList startScreen() {
  tw::DrawList list;
  std::ifstream in(TW_SOURCE_DIR "/game/sprites/gamestart-spr.txt");
  tw::SpriteParser parser(in);
  std::unique_ptr<tw::Sprite> sprite(parser.loadRobustSprite());
  if (!sprite) return list;
  tw::Rgb color;
  colorToRGB(sprite->getColor(), color.r, color.g, color.b);
  const std::string cells = sprite->getFrame(0).getString();
  const int width = sprite->getWidth();
  const float left = static_cast<float>((80 - width) / 2);
  const float top = static_cast<float>((24 - sprite->getHeight()) / 2);
  for (std::size_t i = 0; i < cells.size(); i++) {
    if (cells[i] == sprite->getTransparency()) continue;
    list.addCharacter(left + static_cast<float>(static_cast<int>(i) % width),
                      top + static_cast<float>(static_cast<int>(i) / width), cells[i], color, 0.0f);
  }
  return list;
}

// Every cell a character, in one of two patterns so each frame changes all.
tw::DrawList fullScreen(int pattern) {
  tw::DrawList list;
  for (int y = 0; y < 24; y++) {
    for (int x = 0; x < 80; x++) {
      const tw::Rgb color = {static_cast<std::uint8_t>((x + pattern) % 2 ? 255 : 0), 255, 0};
      list.addCharacter(static_cast<float>(x), static_cast<float>(y),
                        static_cast<char>('A' + (x + y + pattern) % 26), color, 0.0f);
    }
  }
  return list;
}

// Presents before, then measures the bytes of presenting after it.
void measure(benchmark::State& state, const tw::DrawList& before, const tw::DrawList& after) {
  Session session;
  if (!session.opened) {
    state.SkipWithError("the presenter did not open on the pseudo-terminal");
    return;
  }
  long bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    session.presenter->present(before);
    session.drain();
    state.ResumeTiming();
    session.presenter->present(after);
    state.PauseTiming();
    bytes += session.drain();
    state.ResumeTiming();
  }
  state.counters["bytes_per_frame"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}

void BM_TerminalUnchangedFrame(benchmark::State& state) {
  const tw::DrawList frame = startScreen();
  measure(state, frame, frame);
}

void BM_TerminalStartScreen(benchmark::State& state) {
  measure(state, tw::DrawList(), startScreen());
}

void BM_TerminalFullScreenChange(benchmark::State& state) {
  measure(state, fullScreen(0), fullScreen(1));
}

}  // namespace

BENCHMARK(BM_TerminalUnchangedFrame)->Iterations(50);
BENCHMARK(BM_TerminalStartScreen)->Iterations(50);
BENCHMARK(BM_TerminalFullScreenChange)->Iterations(50);
