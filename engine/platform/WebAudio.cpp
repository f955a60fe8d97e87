// Sound effects and music in a browser page, through the page's Web Audio
// (engine/platform/web/audio.js): the file is read from the page's
// file system and decoded by the browser. Decoding happens later, so a load
// checks the file's signature at once; the browser decodes WAV, OGG and FLAC.
#include "engine/platform/Audio.h"

#include <emscripten.h>

#include <cstring>
#include <fstream>

namespace {

EM_JS(void, tw_audio_load, (int id, const char* path, int music),
      { Module.tw.loadClip(id, UTF8ToString(path), music !== 0); });
EM_JS(void, tw_audio_play, (int id, int loop), { Module.tw.playClip(id, loop !== 0); });
EM_JS(void, tw_audio_stop, (int id), { Module.tw.stopClip(id); });
EM_JS(void, tw_audio_drop, (int id), { Module.tw.dropClip(id); });

int next_id = 0;

// Whether the file starts as a WAV, OGG or FLAC file does.
bool soundSignature(const std::string& filename) {
  std::ifstream file(filename, std::ios::binary);
  char head[12] = {};
  if (!file.read(head, sizeof head)) return false;
  return (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0) ||
         std::memcmp(head, "OggS", 4) == 0 || std::memcmp(head, "fLaC", 4) == 0;
}

// Loads filename under id (made on first use); false when it is no sound.
bool loadClip(int& id, const std::string& filename, bool music) {
  if (!soundSignature(filename)) return false;
  if (id < 0) id = next_id++;
  tw_audio_load(id, filename.c_str(), music ? 1 : 0);
  return true;
}

}  // namespace

namespace tw {
namespace platform {

void releaseAudio() {}

struct SoundClip::Impl {
  int id = -1;
};

SoundClip::SoundClip() : impl(std::make_unique<Impl>()) {}

SoundClip::~SoundClip() {
  if (impl->id >= 0) tw_audio_drop(impl->id);
}

bool SoundClip::load(const std::string& filename) { return loadClip(impl->id, filename, false); }

void SoundClip::play(bool loop) {
  if (impl->id >= 0) tw_audio_play(impl->id, loop ? 1 : 0);
}

void SoundClip::stop() {
  if (impl->id >= 0) tw_audio_stop(impl->id);
}

struct MusicStream::Impl {
  int id = -1;
};

MusicStream::MusicStream() : impl(std::make_unique<Impl>()) {}

MusicStream::~MusicStream() {
  if (impl->id >= 0) tw_audio_drop(impl->id);
}

bool MusicStream::open(const std::string& filename) { return loadClip(impl->id, filename, true); }

void MusicStream::play(bool loop) {
  if (impl->id >= 0) tw_audio_play(impl->id, loop ? 1 : 0);
}

void MusicStream::stop() {
  if (impl->id >= 0) tw_audio_stop(impl->id);
}

}  // namespace platform
}  // namespace tw
