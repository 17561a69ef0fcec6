// rxm5620-sim: a simulated RXM5620 on a pseudo-terminal, for using and testing the
// application without the instrument.

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "sim/Scenario.h"
#include "sim/SimOptions.h"
#include "sim/SimRunner.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
  stopRequested = 1;
}

void InstallStopHandlers() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  try {
    options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    std::cerr << "rxm5620-sim: " << e.what() << "\n\n" << SimUsage();
    return 2;
  }
  if (options.help) {
    std::cout << SimUsage();
    return 0;
  }
  if (options.listScenarios) {
    for (const Scenario& s : Scenarios()) std::cout << s.name << "\t" << s.description << "\n";
    return 0;
  }
  if (!options.seedGiven) options.seed = RandomSeed();
  InstallStopHandlers();
  try {
    SimRunner runner(options, std::cout);
    return runner.Run(stopRequested);
  } catch (const std::exception& e) {
    std::cerr << "rxm5620-sim: " << e.what() << "\n";
    return 1;
  }
}
