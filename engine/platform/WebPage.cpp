#include "engine/platform/WebPage.h"

#include "engine/platform/PageLayout.h"

#include <emscripten.h>

#include <cstddef>
#include <cstdint>

namespace {

EM_JS(int, tw_page_open, (int cols, int rows, float cell_w, float cell_h, float box_left,
                          float box_top, float fill_overlap, unsigned background,
                          const float* fits, int fit_count, const char* title),
      {
        return Module.tw.open({cols, rows, cellW: cell_w, cellH: cell_h, boxLeft: box_left,
                               boxTop: box_top, fillOverlap: fill_overlap, background},
                              HEAPF32.slice(fits >> 2, (fits >> 2) + fit_count),
                              UTF8ToString(title));
      });
EM_JS(void, tw_page_close, (), { Module.tw.close(); });
EM_JS(void, tw_page_present, (const float* list, int count), { Module.tw.present(list, count); });
EM_JS(void, tw_page_text, (const char* text), { Module.tw.screenText(UTF8ToString(text)); });
EM_JS(int, tw_page_poll, (void* event), { return Module.tw.poll(event); });
EM_JS(void, tw_page_repeat, (int enabled), { Module.tw.keyRepeat = enabled !== 0; });
EM_JS(void, tw_page_message, (const char* text, int error),
      { Module.tw.message(UTF8ToString(text), error !== 0); });
EM_JS(int, tw_page_changed_file, (char* buffer, int size),
      { return Module.tw.nextChangedFile(buffer, size); });

// The layout tw.poll writes, word by word as PollField numbers them.
struct PolledEvent {
  std::int32_t type;
  std::int32_t key;
  std::int32_t button;
  float x;
  float y;
  std::int32_t repeat;
};

constexpr std::size_t wordAt(tw::platform::page::PollField field) { return 4u * field; }
static_assert(sizeof(PolledEvent) == wordAt(tw::platform::page::POLL_WORDS), "PollField");
static_assert(offsetof(PolledEvent, type) == wordAt(tw::platform::page::POLL_TYPE), "PollField");
static_assert(offsetof(PolledEvent, key) == wordAt(tw::platform::page::POLL_KEY), "PollField");
static_assert(offsetof(PolledEvent, button) == wordAt(tw::platform::page::POLL_BUTTON), "PollField");
static_assert(offsetof(PolledEvent, x) == wordAt(tw::platform::page::POLL_X), "PollField");
static_assert(offsetof(PolledEvent, y) == wordAt(tw::platform::page::POLL_Y), "PollField");
static_assert(offsetof(PolledEvent, repeat) == wordAt(tw::platform::page::POLL_REPEAT), "PollField");

}  // namespace

namespace tw {
namespace platform {
namespace page {

int open(const CanvasGeometry& g, const std::vector<float>& fits, const std::string& title) {
  return tw_page_open(g.cols, g.rows, g.cell_w, g.cell_h, g.box_left, g.box_top, g.fill_overlap,
                      g.background, fits.data(), static_cast<int>(fits.size()), title.c_str());
}

void close() { tw_page_close(); }

void present(const std::vector<float>& list) {
  tw_page_present(list.data(), static_cast<int>(list.size()));
}

void setScreenText(const std::string& text) { tw_page_text(text.c_str()); }

bool pollEvent(InputEvent& event) {
  PolledEvent polled{};
  if (tw_page_poll(&polled) == 0) return false;
  event = InputEvent();
  event.type = static_cast<InputEvent::Type>(polled.type);
  event.key = static_cast<Key>(polled.key);
  event.button = static_cast<MouseButton>(polled.button);
  event.x = polled.x;
  event.y = polled.y;
  event.repeat = polled.repeat != 0;
  return true;
}

void setKeyRepeat(bool enabled) { tw_page_repeat(enabled ? 1 : 0); }

void showMessage(const std::string& text, bool error) { tw_page_message(text.c_str(), error ? 1 : 0); }

bool takeChangedFile(std::string& path) {
  char buffer[4096];
  const int length = tw_page_changed_file(buffer, static_cast<int>(sizeof buffer));
  if (length < 0 || length >= static_cast<int>(sizeof buffer)) return false;  // none, or cut short
  path.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

}  // namespace page
}  // namespace platform
}  // namespace tw
