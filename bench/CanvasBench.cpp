// Off-screen canvases against libtcod's consoles, in the same run: filling an
// 80 x 24 canvas cell by cell (a character, its colour and a background) and
// copying it opaque or at half background alpha onto another 80 x 24 canvas
// (against TCOD_console_put_char_ex and TCOD_console_blit), and onto the
// frame (the display manager's draw list under the capture presenter,
// emptied by a swap outside the timing). The main time is Tarnwick's;
// tw_over_tcod is the ratio.
#include <benchmark/benchmark.h>
#include <libtcod/console.h>

#include <chrono>
#include <cstdint>

#include "engine/core/Config.h"
#include "engine/core/LogManager.h"
#include "engine/display/CellCanvas.h"
#include "engine/display/DisplayManager.h"

namespace {

using Clock = std::chrono::steady_clock;

const int WIDTH = 80;
const int HEIGHT = 24;

double secondsSince(Clock::time_point begin) {
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

// The same picture for both: letters in colours changing with the cell and
// the round.
char32_t letter(int x, int y, int round) { return static_cast<char32_t>('A' + (x + y + round) % 26); }
std::uint8_t channel(int v) { return static_cast<std::uint8_t>(v * 37 % 256); }

void fillOurs(tw::CellCanvas& canvas, int round) {
  for (int y = 0; y < HEIGHT; y++) {
    for (int x = 0; x < WIDTH; x++) {
      canvas.put(x, y, letter(x, y, round), tw::Rgb{channel(x), channel(y), channel(round)},
                 tw::Rgb{channel(y + round), channel(x), 40});
    }
  }
}

void fillTheirs(TCOD_Console* console, int round) {
  for (int y = 0; y < HEIGHT; y++) {
    for (int x = 0; x < WIDTH; x++) {
      TCOD_console_put_char_ex(console, x, y, static_cast<int>(letter(x, y, round)),
                               TCOD_color_t{channel(x), channel(y), channel(round)},
                               TCOD_color_t{channel(y + round), channel(x), 40});
    }
  }
}

// Fill and copy onto another canvas at background alpha (255: opaque).
void BM_FillAndCopy(benchmark::State& state, std::uint8_t alpha) {
  tw::CellCanvas source(WIDTH, HEIGHT), target(WIDTH, HEIGHT);
  TCOD_Console* p_source = TCOD_console_new(WIDTH, HEIGHT);
  TCOD_Console* p_target = TCOD_console_new(WIDTH, HEIGHT);
  tw::CanvasCopy how;
  how.background_alpha = alpha;
  double tw_seconds = 0, tcod_seconds = 0;
  int round = 0;
  for (auto _ : state) {
    round++;
    auto begin = Clock::now();
    fillOurs(source, round);
    source.copyTo(target, 0, 0, how);
    const double tw_run = secondsSince(begin);
    begin = Clock::now();
    fillTheirs(p_source, round);
    TCOD_console_blit(p_source, 0, 0, WIDTH, HEIGHT, p_target, 0, 0, 1.0f, alpha / 255.0f);
    tcod_seconds += secondsSince(begin);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
  }
  benchmark::DoNotOptimize(target.at(5, 5));
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tcod_us"] = benchmark::Counter(tcod_seconds * 1e6, benchmark::Counter::kAvgIterations);
  TCOD_console_delete(p_source);
  TCOD_console_delete(p_target);
}

// Fill and draw onto the frame (a draw item a cell) against fill and blit.
void BM_FillAndDraw(benchmark::State& state) {
  tw::LogManager::getInstance().startUp();
  tw::Config::getInstance().loadConfig("display:capture");
  tw::DisplayManager& dm = tw::DisplayManager::getInstance();
  if (dm.startUp() != 0) {
    state.SkipWithError("the display does not start");
    return;
  }
  tw::CellCanvas source(WIDTH, HEIGHT);
  TCOD_Console* p_source = TCOD_console_new(WIDTH, HEIGHT);
  TCOD_Console* p_target = TCOD_console_new(WIDTH, HEIGHT);
  double tw_seconds = 0, tcod_seconds = 0;
  int round = 0;
  for (auto _ : state) {
    round++;
    auto begin = Clock::now();
    fillOurs(source, round);
    source.draw(tw::Vector(0, 0));
    const double tw_run = secondsSince(begin);
    dm.swapBuffers();
    begin = Clock::now();
    fillTheirs(p_source, round);
    TCOD_console_blit(p_source, 0, 0, WIDTH, HEIGHT, p_target, 0, 0, 1.0f, 1.0f);
    tcod_seconds += secondsSince(begin);
    tw_seconds += tw_run;
    state.SetIterationTime(tw_run);
  }
  state.counters["tw_over_tcod"] = tw_seconds / tcod_seconds;
  state.counters["tcod_us"] = benchmark::Counter(tcod_seconds * 1e6, benchmark::Counter::kAvgIterations);
  TCOD_console_delete(p_source);
  TCOD_console_delete(p_target);
  dm.shutDown();
}

BENCHMARK_CAPTURE(BM_FillAndCopy, opaque, 255)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FillAndCopy, half_alpha, 128)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillAndDraw)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
