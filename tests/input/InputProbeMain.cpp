// The input probe as a program, for the presenters a test drives from
// outside (a window, a terminal, a page): shown where display:auto says, it
// writes its report to the file named on its command line when Q ends it,
// or (in a page, with no file named) to standard output, with whether it is
// the report every presenter must give.
#include <cstdio>
#include <fstream>

#include "engine/core/LogManager.h"
#include "engine/loop/CommandLine.h"
#include "engine/loop/GameManager.h"
#include "tests/support/InputProbe.h"

int main(int argc, char* argv[]) {
  tw::CommandLine command_line("tw_input_probe");
  const int status = command_line.parse(argc, argv);
  if (status != tw::CommandLine::GO_ON) return status;
  if (command_line.getArguments().size() > 1) return command_line.refuse("one REPORT_FILE at most");
  tw::GameManager& game = tw::GameManager::getInstance();
  if (game.startUp() != 0) {
    game.shutDown();
    return 1;
  }
  // A driver waits on the probe's stroke lines, so each is written at once.
  tw::LogManager::getInstance().setFlush(true);
  auto* p_probe = new tw_test::InputProbe(true);
  game.run();
  const std::string report = p_probe->report();
  game.shutDown();
  if (!command_line.getArguments().empty()) {
    std::ofstream(command_line.getArguments()[0]) << report;
    return 0;
  }
  std::printf("%sinput script: %s\n", report.c_str(),
              report == tw_test::EXPECTED_REPORT ? "the report every presenter gives" : "differs");
  return 0;
}
