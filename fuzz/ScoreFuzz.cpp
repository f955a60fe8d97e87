// Best-score files: a file read as a number holds exactly what the parser
// accepts; the number written back is read again as the same; anything else
// is reported as unusable, never as a score.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/platform/Files.h"
#include "fuzz/FuzzSupport.h"
#include "game/SaveFile.h"

namespace {
std::string folder;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tw_fuzz::startEngine(false);
  // In memory where there is such a folder, as every write is flushed to
  // the disk; removed when the run ends.
  char in_memory[] = "/dev/shm/tw-fuzz-score-XXXXXX";
  char on_disk[] = "/tmp/tw-fuzz-score-XXXXXX";
  const char* made = mkdtemp(in_memory);
  if (made == nullptr) made = mkdtemp(on_disk);
  tw_fuzz::require(made != nullptr, "no temporary folder");
  folder = made;
  std::atexit([] { std::filesystem::remove_all(folder); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = tw_fuzz::bytesOf(data, size);
  const veld::SaveFile file(folder, "best-score");
  std::string why;
  tw_fuzz::require(tw::platform::replaceFile(file.path(), bytes, why) == 0, "cannot write the input");
  int parsed = -1, value = -1;
  const bool number = veld::SaveFile::parse(bytes, parsed);
  const veld::SaveFile::Status status = file.read(value);
  tw_fuzz::require(status == (number ? veld::SaveFile::FOUND : veld::SaveFile::BAD), "read status");
  if (!number) return 0;
  tw_fuzz::require(value == parsed && value >= 0, "read another number");
  tw_fuzz::require(file.write(value) == 0, "cannot keep the score");
  int again = -1;
  tw_fuzz::require(file.read(again) == veld::SaveFile::FOUND && again == value, "score not kept");
  return 0;
}
