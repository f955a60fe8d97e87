// The SFML adapter for the installed SFML 2.5 under X11.
#include "engine/platform/Sfml.h"

#include "engine/platform/LibraryMessages.h"

#include <SFML/System/Err.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>
#include <SFML/Window/VideoMode.hpp>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>
#endif

namespace tw {
namespace platform {

namespace {

// ------------------------------------------------------------------ audio

// Forwards SFML's error stream line by line to the log while it collects
// library messages (else to standard error), dropping the audio module's
// complaints when there is no device (they repeat on every audio call).
// SFML's music streams write to it from their own threads while the game
// writes from its own, so each thread assembles its lines apart and whole
// lines reach the target under a lock. A thread may capture its own lines
// instead (a quiet load), so the stream's buffer never changes under a
// writing thread.
class AudioErrorFilter : public std::streambuf {
 public:
  AudioErrorFilter(std::streambuf* target, bool drop_device_noise)
      : target(target), drop_device_noise(drop_device_noise) {}

  // Lines the calling thread writes go to p_captured until stopCapture.
  void startCapture(std::string* p_captured) { pending().p_captured = p_captured; }
  void stopCapture() {
    Pending& mine = pending();
    if (mine.p_captured != nullptr) mine.p_captured->append(mine.line);
    mine.line.clear();
    mine.p_captured = nullptr;
  }

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    Pending& mine = pending();
    mine.line.push_back(static_cast<char>(c));
    if (c == '\n') flushLine(mine);
    return c;
  }
  int sync() override {
    std::lock_guard<std::mutex> lock(target_mutex);
    return target->pubsync();
  }

 private:
  struct Pending {
    std::string line;
    bool dropping = false;
    std::string* p_captured = nullptr;
  };
  static Pending& pending() {
    thread_local Pending mine;
    return mine;
  }

  void flushLine(Pending& mine) {
    if (mine.p_captured != nullptr) {
      mine.p_captured->append(mine.line);
    } else if (drop_device_noise && mine.dropping) {
      if (mine.line == "\n") mine.dropping = false;  // a blank line ends an OpenAL block
    } else if (drop_device_noise && mine.line.rfind("An internal OpenAL call failed", 0) == 0) {
      mine.dropping = true;
    } else if (!drop_device_noise || (mine.line.rfind("Failed to open the audio device", 0) != 0 &&
                                      mine.line.rfind("Failed to create the audio context", 0) != 0)) {
      forward(mine.line);
    }
    mine.line.clear();
  }

  void forward(const std::string& line) {
    if (line == "\n" || postLibraryMessage("SFML", line)) return;
    std::lock_guard<std::mutex> lock(target_mutex);
    target->sputn(line.data(), static_cast<std::streamsize>(line.size()));
  }

  std::streambuf* target;
  bool drop_device_noise;
  std::mutex target_mutex;
};

// Installed by the audio probe at start; never freed (see probeAudio).
AudioErrorFilter* p_error_filter = nullptr;

// Runs f with standard error (the descriptor and SFML's stream) silenced;
// returns what SFML wrote to its error stream meanwhile from this thread.
template <typename F>
std::string withQuietErrors(F f) {
  std::string captured;
  std::ostringstream direct;
  std::streambuf* old_buf = nullptr;
  if (p_error_filter != nullptr) {
    p_error_filter->startCapture(&captured);
  } else {
    old_buf = sf::err().rdbuf(direct.rdbuf());
  }
  std::fflush(stderr);
  int saved = dup(STDERR_FILENO);
  int null_fd = open("/dev/null", O_WRONLY);
  if (saved >= 0 && null_fd >= 0) dup2(null_fd, STDERR_FILENO);
  f();
  std::fflush(stderr);
  if (saved >= 0) {
    dup2(saved, STDERR_FILENO);
    close(saved);
  }
  if (null_fd >= 0) close(null_fd);
  if (p_error_filter != nullptr) {
    p_error_filter->stopCapture();
    return captured;
  }
  sf::err().rdbuf(old_buf);
  return direct.str();
}

// The audio library opens its device with the first audio object and closes
// it with the last. The probe is that first object, held until shut-down so
// that the device (or its failure) is not opened again by every audio object.
// Its destructor also runs at exit, after every function-local static (the
// resource manager's sounds among them), when shut-down never came.
std::unique_ptr<sf::SoundBuffer> device_probe;

// Opens the audio device once. The filter is intentionally never freed: it
// must outlive everything that writes to SFML's error stream at exit.
bool probeAudio() {
  std::string errors = withQuietErrors([] { device_probe = std::make_unique<sf::SoundBuffer>(); });
  bool available = errors.find("Failed to open the audio device") == std::string::npos &&
                   errors.find("Failed to create the audio context") == std::string::npos;
  p_error_filter = new AudioErrorFilter(sf::err().rdbuf(), !available);
  sf::err().rdbuf(p_error_filter);
  return available;
}

// Probes before main, so no audio object can open the device first.
const bool audio_probed_at_start = audioAvailable();

// ---------------------------------------------------------------- display

// The probe's connection stays open while DISPLAY names the same server: an X
// server without other clients resets when its last client leaves, and would
// then refuse the window library's own connection made right after the probe.
bool probeDisplay() {
  static Display* held = nullptr;
  if (held != nullptr) XCloseDisplay(held);
  held = XOpenDisplay(nullptr);
  return held != nullptr;
}

#if defined(__SANITIZE_ADDRESS__)
// The GL driver is a module loaded with the first window and unloaded at exit;
// what it still holds then would look leaked to LeakSanitizer, which no longer
// sees the unloaded module's data. An extra reference keeps it loaded.
int pinDriver(dl_phdr_info* info, size_t, void*) {
  const char* name = info->dlpi_name;
  if (name != nullptr && std::strstr(name, "/dri/") != nullptr) {
    dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}
void keepGraphicsDriverLoaded() { dl_iterate_phdr(pinDriver, nullptr); }
#else
void keepGraphicsDriverLoaded() {}
#endif

// ------------------------------------------------------------------ input

sf::Mouse::Button toSfml(MouseButton button) {
  switch (button) {
    case MouseButton::Left: return sf::Mouse::Left;
    case MouseButton::Right: return sf::Mouse::Right;
    case MouseButton::Middle: return sf::Mouse::Middle;
    case MouseButton::Extra1: return sf::Mouse::XButton1;
    case MouseButton::Extra2: return sf::Mouse::XButton2;
  }
  return sf::Mouse::Left;
}

MouseButton fromSfml(sf::Mouse::Button button) {
  switch (button) {
    case sf::Mouse::Right: return MouseButton::Right;
    case sf::Mouse::Middle: return MouseButton::Middle;
    case sf::Mouse::XButton1: return MouseButton::Extra1;
    case sf::Mouse::XButton2: return MouseButton::Extra2;
    default: return MouseButton::Left;
  }
}

// Key codes are numbered identically in both SFML releases.
Key fromSfml(sf::Keyboard::Key code) {
  int value = static_cast<int>(code);
  return value >= 0 && value < KEY_COUNT ? static_cast<Key>(value) : Key::Unknown;
}

InputEvent convert(const sf::Event& event) {
  InputEvent out;
  switch (event.type) {
    case sf::Event::Closed:
      out.type = InputEvent::Type::Closed;
      break;
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased:
      out.type = event.type == sf::Event::KeyPressed ? InputEvent::Type::KeyPressed
                                                     : InputEvent::Type::KeyReleased;
      out.key = fromSfml(event.key.code);
      break;
    case sf::Event::MouseMoved:
      out.type = InputEvent::Type::MouseMoved;
      out.x = static_cast<float>(event.mouseMove.x);
      out.y = static_cast<float>(event.mouseMove.y);
      break;
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
      out.type = event.type == sf::Event::MouseButtonPressed
                     ? InputEvent::Type::MouseButtonPressed
                     : InputEvent::Type::MouseButtonReleased;
      out.button = fromSfml(event.mouseButton.button);
      out.x = static_cast<float>(event.mouseButton.x);
      out.y = static_cast<float>(event.mouseButton.y);
      break;
    default:
      out.type = InputEvent::Type::Other;
      break;
  }
  return out;
}

}  // namespace

// ------------------------------------------------------------------ audio

bool audioAvailable() {
  static const bool available = probeAudio();
  return available;
}

// Without a device, SFML 2.5 tries to open a temporary one for every file it
// loads (to look up the sample format), and the sound system's driver writes
// its failure straight to standard error: loads then run with it silenced, and
// SFML's own messages about the file are passed on.
template <typename F>
bool loadQuietly(F load) {
  if (audioAvailable()) return load();
  bool loaded = false;
  std::string errors = withQuietErrors([&] { loaded = load(); });
  if (!errors.empty()) sf::err() << errors << std::flush;
  return loaded;
}

bool loadSoundBuffer(sf::SoundBuffer& buffer, const std::string& filename) {
  return loadQuietly([&] { return buffer.loadFromFile(filename); });
}

bool openMusicFromFile(sf::Music& music, const std::string& filename) {
  return loadQuietly([&] { return music.openFromFile(filename); });
}

void releaseAudio() { device_probe.reset(); }

void setLooping(sf::Music& music, bool looping) { music.setLoop(looping); }

void setLooping(sf::Sound& sound, bool looping) { sound.setLoop(looping); }

// ---------------------------------------------------------------- display

bool displayAvailable() {
  static std::string checked_name;
  static bool checked = false;
  static bool available = false;
  const char* name = std::getenv("DISPLAY");
  std::string current = name ? name : "";
  if (!checked || current != checked_name) {
    available = !current.empty() && probeDisplay();
    checked_name = current;
    checked = true;
  }
  return available;
}

bool getDesktopSize(unsigned& width, unsigned& height) {
  if (!displayAvailable()) return false;
  sf::VideoMode mode = sf::VideoMode::getDesktopMode();
  width = mode.width;
  height = mode.height;
  return true;
}

sf::RenderWindow* createWindow(unsigned width, unsigned height, const std::string& title,
                               std::uint32_t style, WindowState state) {
  if (!displayAvailable()) return nullptr;
  if (state == WindowState::Fullscreen) style |= sf::Style::Fullscreen;
  auto* window = new sf::RenderWindow(sf::VideoMode(width, height, 32), sf::String(title),
                                      style, sf::ContextSettings());
  if (!window->isOpen()) {
    delete window;
    return nullptr;
  }
  keepGraphicsDriverLoaded();
  return window;
}

bool openFontFromFile(sf::Font& font, const std::string& filename) {
  return font.loadFromFile(filename);
}

// ------------------------------------------------------- batched characters

sf::VertexArray createTriangleBatch() { return sf::VertexArray(sf::Triangles); }

bool hasGlyphQuad(std::uint32_t code_point) {
  return code_point != U' ' && code_point != U'\t' && code_point != U'\n' && code_point != U'\r';
}

sf::Glyph getGlyph(const sf::Font& font, std::uint32_t code_point, unsigned size, bool bold) {
  return font.getGlyph(code_point, size, bold);
}

// ------------------------------------------------------------------ input

std::optional<InputEvent> pollEvent(sf::Window& window) {
  sf::Event event;
  if (!window.pollEvent(event)) return std::nullopt;
  return convert(event);
}

bool isKeyPressed(Key key) {
  int code = static_cast<int>(key);
  if (code < 0 || code >= KEY_COUNT || !displayAvailable()) return false;
  return sf::Keyboard::isKeyPressed(static_cast<sf::Keyboard::Key>(code));
}

bool isButtonPressed(MouseButton button) {
  if (!displayAvailable()) return false;
  return sf::Mouse::isButtonPressed(toSfml(button));
}

sf::Vector2i getMousePosition(const sf::Window& window) {
  if (!displayAvailable()) return sf::Vector2i(0, 0);
  return sf::Mouse::getPosition(window);
}

}  // namespace platform
}  // namespace tw
