#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <utility>

namespace tw_test {

ProgramRun::ProgramRun(std::string program_name) : program(std::move(program_name)) {
  script.setFrameTime(0);
  script.setSeed(7);
}

void ProgramRun::setFrames(int count) {
  scripted = true;
  while (script.getFrameCount() < count) script.beginFrame();
}

void ProgramRun::press(int frame, tw::Keyboard::Key key, int times) {
  // Frames are filled in order: a press lands in the last frame begun.
  setFrames(frame + 1);
  ASSERT_EQ(frame + 1, script.getFrameCount()) << "presses must come in frame order";
  for (int i = 0; i < times; i++) {
    script.addEvent(tw::RecordedInput{tw::RecordedInput::KEY, tw::KEY_PRESSED, key, 0, 0});
    script.addEvent(tw::RecordedInput{tw::RecordedInput::KEYSTROKE, 0, key, 0, 0});
  }
}

void ProgramRun::configure(const std::string& item) { items.push_back(item); }

std::string ProgramRun::command(const std::string& args) const {
  // The run's own items first: of two values for a key the first counts.
  std::string config;
  for (const std::string& item : items) config += item + ",\n";
  config += "display:capture,\nsnapshot_file:" + dir.file("frame.txt") + ",\nlogfile:" +
            dir.file("log.txt") + ",\n";
  std::string env = "TARNWICK_CONFIG=" + dir.write("tw-config.txt", config) + " XDG_DATA_HOME=" +
                    dir.path() + " ";
  if (scripted) {
    std::string why;
    EXPECT_EQ(0, script.save(dir.file("script.replay"), why)) << why;
    env += "TARNWICK_REPLAY=" + dir.file("script.replay") + " ";
  }
  // A program that does not end by itself is stopped after two minutes.
  return env + "timeout -s KILL 120 ./" + program + " " + args + " > " + dir.file("output.txt") +
         " 2>&1";
}

bool ProgramRun::run(const std::string& args) {
  const int status = std::system(command(args).c_str());
  exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return exit_status == 0;
}

std::string ProgramRun::output() const { return readFile(dir.file("output.txt")); }

std::string ProgramRun::lastFrame() const {
  const std::string text = readFile(dir.file("frame.txt"));
  const size_t end = text.find("\n--\n");
  return end == std::string::npos ? text : text.substr(0, end + 1);
}

}  // namespace tw_test
