// The spectators' side of a running game: a WebSocket port on which watchers
// (up to a cap) take the game's frames, read-only. Owns the listening socket,
// the watchers' connections and the newest frame, encoded once for all. A
// watcher still taking an earlier frame skips to the newest, so a slow or
// gone one holds at most one frame here, never a queue.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/network/WebSocketListener.h"

namespace tw {

const int MAX_WATCHER_MESSAGE_BYTES = 1024;  // a watcher has nothing to say: longer ends it

class SpectatorServer {
 public:
  SpectatorServer() = default;
  // Closes every watcher and the port.
  ~SpectatorServer();
  SpectatorServer(const SpectatorServer&) = delete;
  SpectatorServer& operator=(const SpectatorServer&) = delete;

  // Listens on port ("0": a free one) at host for at most max_watchers at
  // once. 0, or -1 with the socket error in platform::socketLastError().
  int listen(const std::string& host, const std::string& port, int max_watchers);
  int getPort() const;
  // Sent first to every watcher: the painter's geometry as a JSON object.
  void setGeometry(const std::string& geometry_json);
  // Takes the watchers that completed their handshake (one past the cap is
  // answered 503), drops the ones that left or broke the protocol, and
  // throws away whatever they sent (a bounded amount per call).
  void poll();
  // A new frame: its drawing list (engine/platform/PageLayout.h) and its
  // text, rows separated by line breaks. Either is sent only when it changed.
  void setFrame(const std::vector<float>& list, const std::string& text);
  // Offers every watcher what it has not had yet of the geometry, the text
  // and the newest frame, in that order, as far as its socket takes them.
  void send();

  int getWatcherCount() const { return static_cast<int>(watchers.size()); }
  // Frames a watcher missed because it had not taken the one before.
  long getDroppedFrames() const { return dropped_frames; }
  // Bytes written for watchers that their sockets have not taken yet.
  std::size_t getWaitingBytes() const;

 private:
  struct Watcher {
    int socket;
    std::unique_ptr<platform::WebSocketStream> stream;
    bool has_geometry = false;
    long frame_seen = 0;  // the last frame and text versions sent to it
    long text_seen = 0;
  };

  // False when the watcher is gone (closed by it, or for a fault).
  bool drain(Watcher& watcher);
  // False when its socket failed; stops at the first message it cannot take.
  bool offer(Watcher& watcher);
  // 1 sent, 0 the socket is busy, -1 the connection failed.
  static int sendOne(Watcher& watcher, const std::string& bytes, bool text);
  void closeWatcher(const Watcher& watcher);

  std::unique_ptr<WebSocketListener> listener;
  int max_watchers = 0;
  std::vector<Watcher> watchers;
  std::string geometry_message;
  std::string frame_message;  // the list's numbers as little-endian 32-bit floats
  std::string text_message;
  std::vector<float> last_list;
  std::string last_text;
  long frame_version = 0;
  long text_version = 0;
  long dropped_frames = 0;
};

}  // namespace tw
