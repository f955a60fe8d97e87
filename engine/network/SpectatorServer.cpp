#include "engine/network/SpectatorServer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/platform/Socket.h"

namespace tw {

namespace {
const std::size_t DISCARD_CHUNK = 4096;  // bytes of a watcher's input thrown away at a time
const int DISCARD_ROUNDS = 4;            // chunks per watcher per poll
// What the system may hold for a watcher that has not read it: a few
// frames, so a stalled watcher costs little memory and, once it reads
// again, gets fresh frames rather than old ones.
const int WATCHER_SYSTEM_BUFFER = 128 * 1024;

// text as a JSON string, quotes included.
std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;  // UTF-8 passes as it is
    }
  }
  return out + "\"";
}

// The numbers as little-endian 32-bit floats, what a page's Float32Array reads.
void encodeFloats(const std::vector<float>& list, std::string& out) {
  out.resize(4 * list.size());
  for (std::size_t i = 0; i < list.size(); i++) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &list[i], 4);
    for (int b = 0; b < 4; b++) out[4 * i + b] = static_cast<char>(bits >> (8 * b));
  }
}
}  // namespace

SpectatorServer::~SpectatorServer() {
  for (const Watcher& watcher : watchers) closeWatcher(watcher);
}

int SpectatorServer::listen(const std::string& host, const std::string& port, int new_max) {
  auto opened = std::make_unique<WebSocketListener>();
  if (opened->listen(host, port) != 0) return -1;
  listener = std::move(opened);
  max_watchers = new_max;
  return 0;
}

int SpectatorServer::getPort() const { return listener ? listener->getPort() : -1; }

void SpectatorServer::setGeometry(const std::string& geometry_json) {
  geometry_message = "{\"geometry\":" + geometry_json + "}";
}

// Watchers that left are dropped first, so that their room is free for
// newcomers in the same step.
void SpectatorServer::poll() {
  if (!listener) return;
  for (std::size_t i = 0; i < watchers.size();) {
    if (drain(watchers[i])) {
      i++;
    } else {
      closeWatcher(watchers[i]);
      watchers.erase(watchers.begin() + static_cast<long>(i));
    }
  }
  std::vector<WebSocketListener::Peer> ready;
  listener->poll(max_watchers - getWatcherCount(), ready, MAX_WATCHER_MESSAGE_BYTES);
  for (WebSocketListener::Peer& peer : ready) {
    Watcher watcher;
    watcher.socket = peer.socket;
    watcher.stream = std::move(peer.stream);
    watcher.stream->limitSystemBuffer(WATCHER_SYSTEM_BUFFER);
    watchers.push_back(std::move(watcher));
  }
}

bool SpectatorServer::drain(Watcher& watcher) {
  char scratch[DISCARD_CHUNK];
  for (int round = 0; round < DISCARD_ROUNDS; round++) {
    const long got = watcher.stream->receive(scratch, sizeof(scratch));
    if (got == 0) return false;
    if (got < 0) return platform::socketWouldBlock(platform::socketLastError());
  }
  return true;
}

void SpectatorServer::setFrame(const std::vector<float>& list, const std::string& text) {
  if (frame_version == 0 || list != last_list) {
    for (const Watcher& watcher : watchers) {
      if (watcher.frame_seen != frame_version) dropped_frames++;
    }
    last_list = list;
    encodeFloats(list, frame_message);
    frame_version++;
  }
  if (text_version == 0 || text != last_text) {
    last_text = text;
    text_message = "{\"text\":" + jsonString(text) + "}";
    text_version++;
  }
}

void SpectatorServer::send() {
  for (std::size_t i = 0; i < watchers.size();) {
    if (offer(watchers[i])) {
      i++;
    } else {
      closeWatcher(watchers[i]);
      watchers.erase(watchers.begin() + static_cast<long>(i));
    }
  }
}

bool SpectatorServer::offer(Watcher& watcher) {
  int sent = 1;
  if (!watcher.has_geometry) {
    sent = sendOne(watcher, geometry_message, true);
    watcher.has_geometry = sent == 1;
  }
  if (sent == 1 && watcher.text_seen != text_version) {
    sent = sendOne(watcher, text_message, true);
    if (sent == 1) watcher.text_seen = text_version;
  }
  if (sent == 1 && watcher.frame_seen != frame_version) {
    sent = sendOne(watcher, frame_message, false);
    if (sent == 1) watcher.frame_seen = frame_version;
  }
  return sent != -1;
}

int SpectatorServer::sendOne(Watcher& watcher, const std::string& bytes, bool text) {
  if (watcher.stream->send(bytes.data(), bytes.size(), text) >= 0) return 1;
  return platform::socketWouldBlock(platform::socketLastError()) ? 0 : -1;
}

std::size_t SpectatorServer::getWaitingBytes() const {
  std::size_t waiting = 0;
  for (const Watcher& watcher : watchers) waiting += watcher.stream->getWaitingBytes();
  return waiting;
}

// What waits (a close frame naming a fault, say) goes out first if the
// socket takes it at once.
void SpectatorServer::closeWatcher(const Watcher& watcher) {
  watcher.stream->flush();
  platform::socketClose(watcher.socket);
}

}  // namespace tw
