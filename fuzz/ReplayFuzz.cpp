// Replay files: an accepted file encodes back to its own bytes (a file cut
// short to the bytes of its whole records, which it starts with), and what
// it encodes to is accepted again as the same recording. A file of an
// earlier version, which is not written any more, must come back the same
// through the current one.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/input/InputRecording.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw_fuzz::startEngine(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = tw_fuzz::bytesOf(data, size);
  tw::InputRecording read;
  std::string why;
  if (tw::InputRecording::decode(bytes, read, why) != 0) {
    tw_fuzz::require(!why.empty(), "refused without a reason");
    return 0;
  }
  const std::string encoded = read.encode();
  // The version is a little-endian 32-bit word after the 8-byte magic.
  const bool earlier_version =
      bytes.size() > 8 && static_cast<std::uint8_t>(bytes[8]) < tw::InputRecording::VERSION;
  if (!earlier_version) {
    tw_fuzz::require(bytes.compare(0, encoded.size(), encoded) == 0, "encodes to other bytes");
    tw_fuzz::require(read.isCutShort() || encoded.size() == bytes.size(),
                     "a whole file encodes shorter");
  }
  tw::InputRecording again;
  tw_fuzz::require(tw::InputRecording::decode(encoded, again, why) == 0, "own bytes refused");
  tw_fuzz::require(again.encode() == encoded, "own bytes read differently");
  tw_fuzz::require(again.getFrameCount() == read.getFrameCount(), "frames lost");
  return 0;
}
