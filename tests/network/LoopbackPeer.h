// The far end of a test connection: a plain blocking POSIX client on
// 127.0.0.1, made and read without the engine's socket layer, with every wait
// bounded in time.
#pragma once

#include <string>

namespace tw_test {

class LoopbackPeer {
 public:
  explicit LoopbackPeer(int port);
  ~LoopbackPeer();
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  bool connected() const { return fd != -1; }
  // Reads until bytes have arrived, the connection ends or timeout_ms passed.
  std::string read(size_t bytes, int timeout_ms = 2000);
  // True when the engine's side closed the connection within timeout_ms.
  bool seesClose(int timeout_ms = 2000);
  bool write(const std::string& data);
  // Closes this end; with reset the engine's side gets a reset, not an end of stream.
  void close(bool reset = false);

 private:
  int fd;
};

}  // namespace tw_test
