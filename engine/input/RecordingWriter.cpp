#include "engine/input/RecordingWriter.h"

namespace tw {

int RecordingWriter::open(const std::string& path, std::string& why) {
  state = InputRecording::EncodeState();
  return file.open(path, why) == platform::LockedFile::Status::OK ? 0 : -1;
}

int RecordingWriter::update(const InputRecording& recording, std::string& why) {
  if (!file.isOpen()) return 0;
  if (state.started && since_write.split() < WRITE_INTERVAL_MS * 1000) return 0;
  return write(recording, recording.getFrameCount() - 1, false, why);
}

int RecordingWriter::finish(const InputRecording& recording, std::string& why) {
  if (!file.isOpen()) return 0;
  if (write(recording, recording.getFrameCount(), true, why) != 0) return -1;
  const int synced = file.sync(why);
  file.close();
  return synced;
}

int RecordingWriter::write(const InputRecording& recording, int frames, bool close,
                           std::string& why) {
  std::string bytes;
  recording.encodeInto(state, frames, close, bytes);
  since_write.delta();
  if (file.append(bytes, why) == 0) return 0;
  file.close();
  return -1;
}

}  // namespace tw
