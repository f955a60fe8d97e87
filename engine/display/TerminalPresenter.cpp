#include "engine/display/TerminalPresenter.h"

#include "engine/core/LogManager.h"
#include "engine/display/CellGrid.h"
#include "engine/platform/CharacterLocale.h"
#include "engine/platform/StandardErrorCapture.h"
#include "engine/platform/Terminal.h"
#include "engine/platform/TerminalInput.h"

// Curses' function-like macros (clear, erase, move ...) would rewrite member
// calls of the same names; its functions are used instead. Its wide-character
// calls are declared only on request.
#define NCURSES_NOMACROS
#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include <unistd.h>

namespace tw {

namespace {

using platform::InputEvent;

const char MOUSE_ON[] = "\x1b[?1003h\x1b[?1006h";  // any motion, SGR encoding
const char MOUSE_OFF[] = "\x1b[?1006l\x1b[?1003l";
const char KITTY_QUERY[] = "\x1b[?u\x1b[c";  // kitty flags, then device attributes
const char KITTY_PUSH[] = "\x1b[>11u";       // disambiguate + event types + all keys
const char KITTY_POP[] = "\x1b[<u";

const Rgb BASIC_COLORS[8] = {{0, 0, 0},     {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                             {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
const int CUBE_LEVELS[6] = {0, 95, 135, 175, 215, 255};

int distance2(Rgb a, Rgb b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

int nearestCubeLevel(int channel) {
  int best = 0;
  for (int i = 1; i < 6; i++) {
    if (std::abs(CUBE_LEVELS[i] - channel) < std::abs(CUBE_LEVELS[best] - channel)) best = i;
  }
  return best;
}

// The terminal colour index shown for an RGB colour.
int colorIndex(Rgb color, int colors) {
  int best = 0;
  for (int i = 0; i < 8; i++) {
    if (color == BASIC_COLORS[i]) return i;
    if (distance2(color, BASIC_COLORS[i]) < distance2(color, BASIC_COLORS[best])) best = i;
  }
  if (colors < 256) return best;
  return 16 + 36 * nearestCubeLevel(color.r) + 6 * nearestCubeLevel(color.g) +
         nearestCubeLevel(color.b);
}

// A terminfo string, or the xterm one when the database has none.
std::string capability(const char* name, const char* fallback) {
  char* value = tigetstr(name);
  if (value == nullptr || value == reinterpret_cast<char*>(-1)) return fallback;
  return value;
}

// What a terminal that cannot show a character beyond ASCII shows instead:
// lines of the box-drawing block as '-', '|' or '+', blocks and shades as
// '#', anything else as '?'.
char asciiLookAlike(CellChar ch) {
  if (ch >= 0x2580 && ch <= 0x259F) return '#';
  if (ch < 0x2500 || ch > 0x257F) return '?';
  switch (ch) {
    case 0x2500: case 0x2501: case 0x2504: case 0x2505: case 0x2508: case 0x2509:
    case 0x254C: case 0x254D: case 0x2550: case 0x2574: case 0x2576: case 0x2578:
    case 0x257A: case 0x257C: case 0x257E:
      return '-';
    case 0x2502: case 0x2503: case 0x2506: case 0x2507: case 0x250A: case 0x250B:
    case 0x254E: case 0x254F: case 0x2551: case 0x2575: case 0x2577: case 0x2579:
    case 0x257B: case 0x257D: case 0x257F:
      return '|';
    case 0x2571: return '/';
    case 0x2572: return '\\';
    default: return '+';  // corners, junctions, crossings
  }
}

// A configured pixel size, or the default window's for a 0 ("the desktop's").
int pixelsOr(int pixels, int fallback) { return pixels > 0 ? pixels : fallback; }

// The message broken at blanks into lines of at most width characters.
std::vector<std::string> wrapWords(const std::string& text, int width) {
  std::vector<std::string> lines(1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    const std::string joined = lines.back().empty() ? word : lines.back() + " " + word;
    if (static_cast<int>(joined.size()) <= width || lines.back().empty()) {
      lines.back() = joined;
    } else {
      lines.push_back(word);
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace

struct TerminalPresenter::Impl {
  Impl(int input_fd, int output_fd)
      : input_fd(input_fd), output_fd(output_fd), terminal(input_fd, output_fd) {}

  int openCurses(const char* term);
  void setUpColors();
  short pairFor(Rgb color, const Rgb* cell_background = nullptr);
  void detectKitty();
  std::string restoreBytes() const;
  bool fitsTerminal();
  void showTooSmall(int columns, int rows);
  void paint(const DrawList& frame);
  void putCell(int x, int y, const GridCell& cell);
  void pump();
  void handle(const platform::TerminalItem& item);
  void handleKey(const platform::TerminalItem& item);
  bool isRepeat(std::size_t code);
  void pushRepeat(platform::Key key);
  void releaseQuietKeys(long long now);
  void setKey(platform::Key key, bool down);
  void closeCurses();

  int input_fd;
  int output_fd;
  platform::Terminal terminal;
  platform::TerminalInput parser;
  platform::CharacterLocale locale;  // UTF-8: characters beyond ASCII are written as they are
  platform::StandardErrorCapture error_capture;  // while the screen is the game's
  PresenterSettings settings;
  bool is_open = false;
  SCREEN* screen = nullptr;
  FILE* out_file = nullptr;
  FILE* in_file = nullptr;
  CellGrid grid;
  bool kitty = false;
  bool key_repeat = false;
  int colors = 0;                   // colours the terminal has (0: none)
  short background_index = 0;
  // Colour pair per foreground and background index (256 each); 0: none yet.
  std::vector<short> pairs = std::vector<short>(256 * 256, 0);
  short next_pair = 1;
  std::deque<InputEvent> pending;
  std::array<bool, platform::KEY_COUNT> keys_down{};
  std::array<long long, platform::KEY_COUNT> release_at{};  // ms, classic terminals
  std::array<long long, platform::KEY_COUNT> last_stroke{};  // ms, classic terminals
  std::array<bool, 5> buttons_down{};
  Vector mouse;
  long long last_input_ms = 0;
};

TerminalPresenter::TerminalPresenter(int input_fd, int output_fd)
    : impl(std::make_unique<Impl>(input_fd, output_fd)) {}

TerminalPresenter::~TerminalPresenter() { close(); }

const char* TerminalPresenter::getName() const { return "terminal"; }

int TerminalPresenter::open(const PresenterSettings& new_settings) {
  LogManager& log = LogManager::getInstance();
  close();
  if (!platform::Terminal::isTerminal(impl->input_fd) ||
      !platform::Terminal::isTerminal(impl->output_fd)) {
    log.writeLog("TerminalPresenter::open(): Error! Input or output is not a terminal.");
    return -1;
  }
  const char* term = std::getenv("TERM");
  if (term == nullptr || *term == '\0') {
    log.writeLog("TerminalPresenter::open(): Error! TERM is not set.");
    return -1;
  }
  if (impl->terminal.open() != 0) {
    log.writeLog("TerminalPresenter::open(): Error! Cannot read the terminal's modes.");
    return -1;
  }
  if (impl->openCurses(term) != 0) {
    impl->terminal.restore();
    log.writeLog("TerminalPresenter::open(): Error! Unknown terminal type '%s' (TERM).", term);
    return -1;
  }
  impl->settings = new_settings;
  impl->is_open = true;
  impl->setUpColors();
  // Onto the alternate screen before the keyboard protocol is pushed: kitty
  // keeps one stack of flags per screen, and close pops them on this one.
  werase(stdscr);
  wnoutrefresh(stdscr);
  doupdate();
  impl->detectKitty();
  impl->terminal.write(MOUSE_ON);
  impl->terminal.setRestoreBytes(impl->restoreBytes());
  impl->grid = CellGrid(new_settings.horizontal_chars, new_settings.vertical_chars,
                        new_settings.background);
  // Lines on standard error would scribble over the game's screen: the
  // engine's notices wait, and what other libraries write there goes to the
  // log.
  if (platform::Terminal::isTerminal(STDERR_FILENO)) {
    log.holdNotices(true);
    if (impl->error_capture.start() != 0) {
      log.writeLog("TerminalPresenter::open(): Warning! Cannot capture standard error; other "
                   "libraries' messages may show on the screen.");
    }
  }
  return 0;
}

int TerminalPresenter::Impl::openCurses(const char* term) {
  const int out_copy = dup(output_fd);
  const int in_copy = dup(input_fd);
  // Curses writes in the locale's encoding as it is when the screen is made.
  locale.useEnvironment();
  out_file = out_copy >= 0 ? fdopen(out_copy, "w") : nullptr;
  in_file = in_copy >= 0 ? fdopen(in_copy, "r") : nullptr;
  if (out_file != nullptr && in_file != nullptr) {
    screen = newterm(term, out_file, in_file);
  }
  if (screen == nullptr) {
    closeCurses();
    if (out_file == nullptr && out_copy >= 0) ::close(out_copy);
    if (in_file == nullptr && in_copy >= 0) ::close(in_copy);
    return -1;
  }
  // cbreak keeps Ctrl-C a SIGINT. Input is read from the descriptor, not by
  // curses, and curses must not cut an update short when input is waiting.
  cbreak();
  noecho();
  typeahead(-1);
  curs_set(0);
  leaveok(stdscr, TRUE);
  scrollok(stdscr, FALSE);
  return 0;
}

void TerminalPresenter::Impl::setUpColors() {
  colors = 0;
  std::fill(pairs.begin(), pairs.end(), 0);
  next_pair = 1;
  if (!has_colors() || start_color() != OK) return;
  colors = COLORS;
  background_index = static_cast<short>(colorIndex(settings.background, colors));
  for (int i = 0; i < 8; i++) pairFor(BASIC_COLORS[i]);
  wbkgdset(stdscr, ' ' | COLOR_PAIR(pairFor(BASIC_COLORS[7])));
}

// The pair of a foreground over the cell's own background, or over the
// frame's when it has none. When the terminal's pairs run out, the nearest
// basic foreground over the frame's background serves (made at start-up).
short TerminalPresenter::Impl::pairFor(Rgb color, const Rgb* cell_background) {
  if (colors == 0) return 0;
  const int index = colorIndex(color, colors);
  const short back = cell_background != nullptr
                         ? static_cast<short>(colorIndex(*cell_background, colors))
                         : background_index;
  short& pair = pairs[static_cast<std::size_t>(index * 256 + back)];
  if (pair == 0) {
    if (next_pair >= std::min(COLOR_PAIRS, 32767)) return pairFor(BASIC_COLORS[colorIndex(color, 8)]);
    init_pair(next_pair, static_cast<short>(index), back);
    pair = next_pair++;
  }
  return pair;
}

void TerminalPresenter::Impl::detectKitty() {
  // Keys typed meanwhile are parsed like any others and kept.
  terminal.write(KITTY_QUERY);
  const long long deadline = platform::Terminal::nowMilliseconds() + DETECT_WAIT_MS;
  bool flags_seen = false, answered = false;
  char buffer[256];
  std::vector<platform::TerminalItem> items;
  while (!answered) {
    const long long left = deadline - platform::Terminal::nowMilliseconds();
    if (left <= 0 || !terminal.waitForInput(static_cast<int>(left))) break;
    items.clear();
    parser.feed(buffer, static_cast<std::size_t>(terminal.readAvailable(buffer, sizeof buffer)), items);
    for (const platform::TerminalItem& item : items) {
      if (item.kind == platform::TerminalItem::Kind::KITTY_FLAGS && !answered) flags_seen = true;
      if (item.kind == platform::TerminalItem::Kind::DEVICE_ATTRIBUTES) answered = true;
      handle(item);
    }
  }
  last_input_ms = platform::Terminal::nowMilliseconds();
  kitty = flags_seen && answered;
  if (kitty) terminal.write(KITTY_PUSH);
}

std::string TerminalPresenter::Impl::restoreBytes() const {
  return std::string(MOUSE_OFF) + (kitty ? KITTY_POP : "") + capability("cnorm", "\x1b[?25h") +
         capability("sgr0", "\x1b[0m") + capability("rmcup", "\x1b[?1049l");
}

void TerminalPresenter::close() {
  if (!impl->is_open) return;
  impl->terminal.write(std::string(MOUSE_OFF) + (impl->kitty ? KITTY_POP : ""));
  impl->closeCurses();
  impl->terminal.restore();
  impl->error_capture.stop();
  LogManager::getInstance().writeLibraryMessages();
  LogManager::getInstance().holdNotices(false);
  impl->is_open = false;
  impl->kitty = false;
  impl->pending.clear();
  impl->keys_down.fill(false);
  impl->buttons_down.fill(false);
}

void TerminalPresenter::Impl::closeCurses() {
  if (screen != nullptr) {
    endwin();
    delscreen(screen);
    screen = nullptr;
  }
  if (out_file != nullptr) std::fclose(out_file);
  if (in_file != nullptr) std::fclose(in_file);
  out_file = nullptr;
  in_file = nullptr;
  locale.restore();
}

int TerminalPresenter::getHorizontalPixels() const {
  return pixelsOr(impl->settings.horizontal_pixels, 1024);
}

int TerminalPresenter::getVerticalPixels() const {
  return pixelsOr(impl->settings.vertical_pixels, 768);
}

void TerminalPresenter::present(const DrawList& frame) {
  if (!impl->is_open || !impl->fitsTerminal()) return;
  impl->paint(frame);
}

// Keeps curses' size in step with the terminal's, and while the terminal is
// too small shows the message and waits. False when a close request came.
bool TerminalPresenter::Impl::fitsTerminal() {
  bool waited = false;
  for (;;) {
    int columns = COLS, rows = LINES;
    if (terminal.getSize(columns, rows) && (columns != COLS || rows != LINES)) {
      resizeterm(rows, columns);
      clearok(curscr, TRUE);
    }
    if (columns >= settings.horizontal_chars && rows >= settings.vertical_chars) {
      if (waited) clearok(curscr, TRUE);
      return true;
    }
    showTooSmall(columns, rows);
    waited = true;
    terminal.waitForInput(RESIZE_POLL_MS);
    pump();
    if (!pending.empty() && pending.back().type == InputEvent::Type::Closed) return false;
  }
}

void TerminalPresenter::Impl::showTooSmall(int columns, int rows) {
  const std::string message = "needs " + std::to_string(settings.horizontal_chars) + " x " +
                              std::to_string(settings.vertical_chars) + ", this terminal is " +
                              std::to_string(columns) + " x " + std::to_string(rows);
  werase(stdscr);
  const std::vector<std::string> lines = wrapWords(message, columns);
  for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < rows; i++) {
    mvwaddnstr(stdscr, static_cast<int>(i), 0, lines[i].c_str(), columns);
  }
  wnoutrefresh(stdscr);
  doupdate();
}

void TerminalPresenter::Impl::paint(const DrawList& frame) {
  const float cell_width = static_cast<float>(pixelsOr(settings.horizontal_pixels, 1024)) /
                           static_cast<float>(std::max(grid.getWidth(), 1));
  const float cell_height = static_cast<float>(pixelsOr(settings.vertical_pixels, 768)) /
                            static_cast<float>(std::max(grid.getHeight(), 1));
  grid.paint(frame, cell_width, cell_height);
  for (int y = 0; y < grid.getHeight(); y++) {
    for (int x = 0; x < grid.getWidth(); x++) putCell(x, y, grid.at(x, y));
  }
  wnoutrefresh(stdscr);
  doupdate();
}

// A character beyond ASCII goes out as it is only where the terminal's
// locale is UTF-8 and gives it one column (so the row cannot shift),
// otherwise as its ASCII look-alike.
// COLOR_PAIR holds only 8 bits: a later pair goes through the wide call.
void TerminalPresenter::Impl::putCell(int x, int y, const GridCell& cell) {
  const short pair = pairFor(cell.color, cell.has_background ? &cell.background : nullptr);
  const bool wide_char =
      cell.ch >= 0x80 && locale.isUtf8() && platform::CharacterLocale::columns(cell.ch) == 1;
  const char shown = cell.ch < 0x80 ? static_cast<char>(cell.ch) : asciiLookAlike(cell.ch);
  if (wide_char || pair > 255) {
    const wchar_t text[2] = {wide_char ? static_cast<wchar_t>(cell.ch) : static_cast<wchar_t>(shown),
                             L'\0'};
    cchar_t wide;
    setcchar(&wide, text, A_BOLD, pair, nullptr);
    mvwadd_wch(stdscr, y, x, &wide);
    return;
  }
  mvwaddch(stdscr, y, x, static_cast<chtype>(shown) | A_BOLD | COLOR_PAIR(pair));
}

// Reads what the terminal sent and turns it into pending events.
void TerminalPresenter::Impl::pump() {
  const long long now = platform::Terminal::nowMilliseconds();
  char buffer[512];
  std::vector<platform::TerminalItem> items;
  int n;
  while ((n = terminal.readAvailable(buffer, sizeof buffer)) > 0) {
    parser.feed(buffer, static_cast<std::size_t>(n), items);
    last_input_ms = now;
  }
  if (parser.hasPending() && now - last_input_ms >= ESCAPE_WAIT_MS) parser.flush(items);
  for (const platform::TerminalItem& item : items) handle(item);
  if (!kitty) releaseQuietKeys(now);
  if (terminal.takeCloseRequest()) {
    InputEvent closed;
    closed.type = InputEvent::Type::Closed;
    pending.push_back(closed);
  }
}

void TerminalPresenter::Impl::handle(const platform::TerminalItem& item) {
  if (item.kind != platform::TerminalItem::Kind::INPUT) return;
  const InputEvent& event = item.event;
  switch (event.type) {
    case InputEvent::Type::KeyPressed:
    case InputEvent::Type::KeyReleased:
      handleKey(item);
      return;
    case InputEvent::Type::MouseButtonPressed:
    case InputEvent::Type::MouseButtonReleased:
      buttons_down[static_cast<std::size_t>(event.button)] =
          event.type == InputEvent::Type::MouseButtonPressed;
      break;
    default:
      break;
  }
  mouse = Vector(event.x, event.y);
  pending.push_back(event);
}

void TerminalPresenter::Impl::handleKey(const platform::TerminalItem& item) {
  const platform::Key key = item.event.key;
  const std::size_t code = static_cast<std::size_t>(key);
  if (key == platform::Key::Unknown || code >= keys_down.size()) return;
  if (item.event.type == InputEvent::Type::KeyReleased) {
    if (keys_down[code]) setKey(key, false);
    return;
  }
  const bool repeat = isRepeat(code);
  if (repeat) {
    pushRepeat(key);
    return;
  }
  if (keys_down[code]) setKey(key, false);  // a new tap ends the one before
  setKey(key, true);
}

// Kitty reports releases, so a press of a key still down repeats it; in a
// classic terminal a character is a repeat when its key is held and the one
// before came within REPEAT_GAP_MS.
bool TerminalPresenter::Impl::isRepeat(std::size_t code) {
  if (kitty) return keys_down[code];
  const long long now = platform::Terminal::nowMilliseconds();
  const bool repeat = keys_down[code] && now - last_stroke[code] <= REPEAT_GAP_MS;
  last_stroke[code] = now;
  release_at[code] = now + (repeat ? REPEAT_HOLD_MS : FIRST_HOLD_MS);
  return repeat;
}

void TerminalPresenter::Impl::pushRepeat(platform::Key key) {
  InputEvent event;
  event.type = InputEvent::Type::KeyPressed;
  event.key = key;
  event.repeat = !key_repeat;
  pending.push_back(event);
}

void TerminalPresenter::Impl::releaseQuietKeys(long long now) {
  for (std::size_t code = 0; code < keys_down.size(); code++) {
    if (keys_down[code] && now >= release_at[code]) setKey(static_cast<platform::Key>(code), false);
  }
}

void TerminalPresenter::Impl::setKey(platform::Key key, bool down) {
  keys_down[static_cast<std::size_t>(key)] = down;
  InputEvent event;
  event.type = down ? InputEvent::Type::KeyPressed : InputEvent::Type::KeyReleased;
  event.key = key;
  pending.push_back(event);
}

bool TerminalPresenter::pollEvent(platform::InputEvent& event) {
  if (!impl->is_open) return false;
  if (impl->pending.empty()) impl->pump();
  if (impl->pending.empty()) return false;
  event = impl->pending.front();
  impl->pending.pop_front();
  return true;
}

bool TerminalPresenter::isKeyDown(platform::Key key) const {
  const int code = static_cast<int>(key);
  return code >= 0 && code < platform::KEY_COUNT && impl->keys_down[static_cast<std::size_t>(code)];
}

bool TerminalPresenter::isButtonDown(platform::MouseButton button) const {
  const std::size_t code = static_cast<std::size_t>(button);
  return code < impl->buttons_down.size() && impl->buttons_down[code];
}

Vector TerminalPresenter::getMousePosition() const { return impl->mouse; }

void TerminalPresenter::setKeyRepeat(bool enabled) { impl->key_repeat = enabled; }

bool TerminalPresenter::usesKittyKeyboard() const { return impl->kitty; }

}  // namespace tw
