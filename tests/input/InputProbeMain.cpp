// The input probe as a program, for the presenters a test drives from
// outside (a window, a terminal): shown where display:auto says, it writes
// its report to the file named on its command line when Q ends it.
#include <fstream>

#include "engine/loop/CommandLine.h"
#include "engine/loop/GameManager.h"
#include "tests/support/InputProbe.h"

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("tw_input_probe");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (command_line.getArguments().size() != 1) return command_line.refuse("REPORT_FILE?");
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {
    game.shutDown();
    return 1;
  }
  auto* p_probe = new tw_test::InputProbe(true);
  game.run();
  const std::string report = p_probe->report();
  game.shutDown();
  std::ofstream(command_line.getArguments()[0]) << report;
  return 0;
}
