// Synthesises the game's sound files: the jump, shoot, kill and fail effects
// and the looping background music, as 16-bit PCM mono WAV at 22050 Hz.
// Self-contained (standard library only) and deterministic: every run writes
// the same bytes, so the generated files can be kept under version control.
//
// Usage: tw_synth_sounds [SOUNDS_DIR]
//   Writes SOUNDS_DIR/sfx/{jump,kill_enemy,player_fail,shoot}.wav and
//   SOUNDS_DIR/background/background_sound.wav (SOUNDS_DIR defaults to
//   "sounds"); the folders are created when missing. Exit code 0 on success,
//   1 when a file cannot be written.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 22050;  // samples per second
constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 2.0 * PI;

// Mono signal, nominally within -1..1 before it is written.
using Signal = std::vector<double>;

int toSamples(double seconds) { return static_cast<int>(std::lround(seconds * SAMPLE_RATE)); }

double midiToHz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// Small deterministic noise source (xorshift32), identical on every platform,
// unlike the standard library's distributions.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state(seed) {}
  // Uniform in -1..1.
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483647.5 - 1.0;
  }

 private:
  std::uint32_t state;
};

enum class Wave { SINE, SQUARE, TRIANGLE };

// One sample of a band-limited waveform at the given phase (radians): the odd
// harmonics are summed only below the Nyquist frequency, so sweeps stay clean.
double waveSample(Wave wave, double phase, double freq) {
  if (wave == Wave::SINE) {
    return std::sin(phase);
  }
  const double nyquist = SAMPLE_RATE / 2.0;
  double sum = 0.0;
  double norm = 0.0;
  for (int k = 1; k <= 9 && k * freq < nyquist; k += 2) {
    const double weight = wave == Wave::SQUARE ? 1.0 / k : 1.0 / (k * k);
    const double sign = (wave == Wave::TRIANGLE && (k / 2) % 2 == 1) ? -1.0 : 1.0;
    sum += sign * weight * std::sin(k * phase);
    norm += weight;
  }
  return norm > 0.0 ? sum / norm : 0.0;
}

// A note or a sweep: frequency glides exponentially from start_hz to end_hz;
// the amplitude rises over attack seconds and falls to zero over release
// seconds at the end, so every tone starts and ends silent.
struct Tone {
  double start = 0.0;     // seconds
  double length = 0.1;    // seconds
  double start_hz = 440.0;
  double end_hz = 440.0;
  Wave wave = Wave::SQUARE;
  double gain = 0.5;
  double attack = 0.005;  // seconds
  double release = 0.02;  // seconds
  double decay = 0.0;     // exponential fade per second over the whole tone
  double vibrato = 0.0;   // depth as a fraction of the frequency, at 6 Hz
};

double envelope(const Tone& tone, double t) {
  double level = 1.0;
  if (t < tone.attack) {
    level = t / tone.attack;
  }
  const double to_end = tone.length - t;
  if (to_end < tone.release) {
    level = std::min(level, std::max(0.0, to_end / tone.release));
  }
  return level * std::exp(-tone.decay * t);
}

void addTone(Signal& out, const Tone& tone) {
  const int first = toSamples(tone.start);
  const int count = toSamples(tone.length);
  double phase = 0.0;
  for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    double freq = tone.start_hz * std::pow(tone.end_hz / tone.start_hz, t / tone.length);
    freq *= 1.0 + tone.vibrato * std::sin(TWO_PI * 6.0 * t);
    out[first + i] += tone.gain * envelope(tone, t) * waveSample(tone.wave, phase, freq);
    phase = std::fmod(phase + TWO_PI * freq / SAMPLE_RATE, TWO_PI);
  }
}

// A burst of noise through a one-pole low-pass filter whose cutoff falls from
// start_hz to end_hz; the amplitude decays exponentially. Used for the
// explosion and the hi-hat.
struct NoiseBurst {
  double start = 0.0;   // seconds
  double length = 0.1;  // seconds
  double start_hz = 4000.0;
  double end_hz = 400.0;
  double gain = 0.5;
  double decay = 8.0;   // per second
};

void addNoise(Signal& out, const NoiseBurst& burst, Noise& noise) {
  const int first = toSamples(burst.start);
  const int count = toSamples(burst.length);
  double filtered = 0.0;
  for (int i = 0; i < count && first + i < static_cast<int>(out.size()); ++i) {
    const double t = static_cast<double>(i) / SAMPLE_RATE;
    const double cutoff = burst.start_hz * std::pow(burst.end_hz / burst.start_hz, t / burst.length);
    const double alpha = 1.0 - std::exp(-TWO_PI * cutoff / SAMPLE_RATE);
    filtered += alpha * (noise.next() - filtered);
    // Short ramps at both ends avoid clicks.
    const double fade_in = std::min(1.0, i / (0.002 * SAMPLE_RATE));
    const double fade_out = std::min(1.0, (count - i) / (0.01 * SAMPLE_RATE));
    out[first + i] += burst.gain * std::exp(-burst.decay * t) * fade_in * fade_out * filtered;
  }
}

// Scales the signal so that its loudest sample sits at the given peak.
void normalise(Signal& signal, double peak) {
  double loudest = 0.0;
  for (double s : signal) {
    loudest = std::max(loudest, std::fabs(s));
  }
  if (loudest > 0.0) {
    for (double& s : signal) {
      s *= peak / loudest;
    }
  }
}

Signal makeJump() {
  Signal out(toSamples(0.2), 0.0);
  Tone sweep;
  sweep.length = 0.18;
  sweep.start_hz = 280.0;
  sweep.end_hz = 760.0;
  sweep.release = 0.06;
  addTone(out, sweep);
  normalise(out, 0.7);
  return out;
}

Signal makeShoot() {
  Signal out(toSamples(0.16), 0.0);
  Tone zap;
  zap.length = 0.15;
  zap.start_hz = 1400.0;
  zap.end_hz = 220.0;
  zap.decay = 12.0;
  zap.release = 0.04;
  addTone(out, zap);
  Noise noise(0x5eed0001u);
  addNoise(out, NoiseBurst{0.0, 0.04, 6000.0, 2000.0, 0.25, 40.0}, noise);
  normalise(out, 0.7);
  return out;
}

Signal makeKill() {
  Signal out(toSamples(0.6), 0.0);
  Noise noise(0x5eed0002u);
  addNoise(out, NoiseBurst{0.0, 0.58, 5000.0, 150.0, 2.5, 5.0}, noise);
  Tone thump;
  thump.length = 0.3;
  thump.start_hz = 110.0;
  thump.end_hz = 38.0;
  thump.wave = Wave::SINE;
  thump.gain = 0.5;
  thump.decay = 6.0;
  thump.release = 0.08;
  addTone(out, thump);
  normalise(out, 0.8);
  return out;
}

// A falling "wah-wah-wah-waah": three short notes and a long one that wobbles.
Signal makeFail() {
  Signal out(toSamples(1.75), 0.0);
  const int notes[] = {67, 66, 65, 64};  // G4, F#4, F4, E4
  double start = 0.0;
  for (int i = 0; i < 4; ++i) {
    Tone note;
    note.start = start;
    note.length = i < 3 ? 0.26 : 0.8;
    note.start_hz = midiToHz(notes[i]);
    note.end_hz = note.start_hz * (i < 3 ? 0.97 : 0.9);
    note.wave = Wave::TRIANGLE;
    note.release = i < 3 ? 0.05 : 0.3;
    note.vibrato = i < 3 ? 0.0 : 0.025;
    addTone(out, note);
    start += i < 3 ? 0.3 : 0.0;
  }
  normalise(out, 0.75);
  return out;
}

// One melody or bass note on the music's grid of eighth notes.
struct Note {
  int midi;     // pitch; -1 is a rest
  int eighths;  // duration
};

void addLine(Signal& out, const std::vector<Note>& line, Wave wave, double gain, double eighth) {
  double start = 0.0;
  for (const Note& note : line) {
    if (note.midi >= 0) {
      Tone tone;
      tone.start = start;
      tone.length = note.eighths * eighth * 0.9;  // a small gap keeps notes apart
      tone.start_hz = midiToHz(note.midi);
      tone.end_hz = tone.start_hz;
      tone.wave = wave;
      tone.gain = gain;
      tone.attack = 0.01;
      tone.release = 0.05;
      tone.decay = 1.5;
      addTone(out, tone);
    }
    start += note.eighths * eighth;
  }
}

// Kick on beats 1 and 3, a soft hi-hat on every off-beat eighth.
void addDrums(Signal& out, int bars, double eighth) {
  Noise noise(0x5eed0003u);
  for (int i = 0; i < bars * 8; ++i) {
    const double at = i * eighth;
    if (i % 4 == 0) {
      Tone kick;
      kick.start = at;
      kick.length = 0.16;
      kick.start_hz = 130.0;
      kick.end_hz = 45.0;
      kick.wave = Wave::SINE;
      kick.gain = 0.55;
      kick.decay = 10.0;
      kick.release = 0.04;
      addTone(out, kick);
    } else if (i % 2 == 1) {
      addNoise(out, NoiseBurst{at, 0.05, 9000.0, 6000.0, 0.12, 60.0}, noise);
    }
  }
}

// Four bars at 120 beats a minute (8 s) over C, A minor, F and G, ending on
// the dominant so that the loop leads back into its start. Every note ends
// inside the loop, so the seam is silent-to-silent and repeats seamlessly.
Signal makeMusic() {
  const int bars = 4;
  const double eighth = 0.25;  // seconds at 120 beats a minute
  Signal out(toSamples(bars * 8 * eighth), 0.0);
  const std::vector<Note> melody = {
      {76, 1}, {79, 1}, {81, 2}, {79, 1}, {76, 1}, {74, 2},  // C
      {72, 1}, {76, 1}, {81, 2}, {84, 2}, {81, 2},           // Am
      {77, 1}, {81, 1}, {84, 2}, {81, 1}, {77, 1}, {72, 2},  // F
      {74, 1}, {79, 1}, {83, 2}, {79, 1}, {74, 1}, {79, 2},  // G
  };
  std::vector<Note> bass;
  for (int root : {48, 45, 41, 43}) {
    for (int step : {0, 7, 12, 7}) {
      bass.push_back({root + step, 2});
    }
  }
  addLine(out, melody, Wave::SQUARE, 0.3, eighth);
  addLine(out, bass, Wave::TRIANGLE, 0.45, eighth);
  addDrums(out, bars, eighth);
  normalise(out, 0.8);
  return out;
}

void put16(std::vector<char>& bytes, std::uint16_t v) {
  bytes.push_back(static_cast<char>(v & 0xff));
  bytes.push_back(static_cast<char>(v >> 8));
}

void put32(std::vector<char>& bytes, std::uint32_t v) {
  put16(bytes, static_cast<std::uint16_t>(v & 0xffff));
  put16(bytes, static_cast<std::uint16_t>(v >> 16));
}

// The RIFF/WAVE header and data of a 16-bit PCM mono file, little-endian.
std::vector<char> encodeWav(const Signal& signal) {
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(signal.size() * 2);
  std::vector<char> bytes;
  bytes.reserve(44 + data_bytes);
  for (char c : std::string("RIFF")) bytes.push_back(c);
  put32(bytes, 36 + data_bytes);
  for (char c : std::string("WAVEfmt ")) bytes.push_back(c);
  put32(bytes, 16);               // format chunk size
  put16(bytes, 1);                // PCM
  put16(bytes, 1);                // mono
  put32(bytes, SAMPLE_RATE);
  put32(bytes, SAMPLE_RATE * 2);  // bytes per second
  put16(bytes, 2);                // bytes per sample frame
  put16(bytes, 16);               // bits per sample
  for (char c : std::string("data")) bytes.push_back(c);
  put32(bytes, data_bytes);
  for (double s : signal) {
    const double clamped = std::max(-1.0, std::min(1.0, s));
    put16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767.0))));
  }
  return bytes;
}

bool writeWav(const std::filesystem::path& path, const Signal& signal) {
  const std::vector<char> bytes = encodeWav(signal);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "tw_synth_sounds: cannot write '%s'\n", path.string().c_str());
    return false;
  }
  std::printf("wrote %s (%zu bytes, %.2f s)\n", path.string().c_str(), bytes.size(),
              static_cast<double>(signal.size()) / SAMPLE_RATE);
  return true;
}

bool makeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "tw_synth_sounds: cannot create '%s': %s\n", folder.string().c_str(),
                 error.message().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help"))) {
    std::fprintf(stderr, "usage: tw_synth_sounds [SOUNDS_DIR]   (default: sounds)\n");
    return argc > 2 ? 1 : 0;
  }
  const std::filesystem::path root = argc == 2 ? argv[1] : "sounds";
  const std::filesystem::path sfx = root / "sfx";
  const std::filesystem::path background = root / "background";
  if (!makeFolder(sfx) || !makeFolder(background)) {
    return 1;
  }
  bool ok = writeWav(sfx / "jump.wav", makeJump());
  ok = writeWav(sfx / "kill_enemy.wav", makeKill()) && ok;
  ok = writeWav(sfx / "player_fail.wav", makeFail()) && ok;
  ok = writeWav(sfx / "shoot.wav", makeShoot()) && ok;
  ok = writeWav(background / "background_sound.wav", makeMusic()) && ok;
  return ok ? 0 : 1;
}
