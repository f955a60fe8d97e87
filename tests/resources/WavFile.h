// A tiny PCM WAV writer for the audio tests, so that they load real sound
// files without shipping any, plus a guard that diverts standard error to a
// file for the length of a test block.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace tw_test {

// Writes a mono 16-bit PCM WAV file of `samples` samples (a saw tone) at 8 kHz.
inline void writeWav(const std::string& path, int samples = 800) {
  auto put16 = [](std::ofstream& out, std::uint16_t v) {
    out.put(static_cast<char>(v & 0xff));
    out.put(static_cast<char>(v >> 8));
  };
  auto put32 = [](std::ofstream& out, std::uint32_t v) {
    for (int i = 0; i < 4; i++) out.put(static_cast<char>((v >> (8 * i)) & 0xff));
  };
  const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples) * 2;
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  put32(out, 36 + data_bytes);
  out << "WAVEfmt ";
  put32(out, 16);    // format chunk size
  put16(out, 1);     // PCM
  put16(out, 1);     // channels
  put32(out, 8000);  // sample rate
  put32(out, 16000); // bytes per second
  put16(out, 2);     // bytes per frame
  put16(out, 16);    // bits per sample
  out << "data";
  put32(out, data_bytes);
  for (int i = 0; i < samples; i++) put16(out, static_cast<std::uint16_t>((i % 40) * 800));
}

// Sends standard error (the descriptor) to path until destroyed.
class StderrToFile {
 public:
  explicit StderrToFile(const std::string& path) {
    std::fflush(stderr);
    saved = dup(STDERR_FILENO);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd >= 0) {
      dup2(fd, STDERR_FILENO);
      close(fd);
    }
  }
  ~StderrToFile() {
    std::fflush(stderr);
    if (saved >= 0) {
      dup2(saved, STDERR_FILENO);
      close(saved);
    }
  }
  StderrToFile(const StderrToFile&) = delete;
  StderrToFile& operator=(const StderrToFile&) = delete;

 private:
  int saved;
};

}  // namespace tw_test
