// grab: the command-line band. Picks regions of pages and saves them through the controller's logic.
#include <cstdlib>
#include <iostream>

#include "tools/grab/grab_session.h"
#include "tools/grab/options.h"

int main(int argc, char** argv) {
  using namespace ph::grab;
  std::string error;
  auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
  if (!options) {
    std::cerr << "grab: " << error << "\nTry 'grab --help'.\n";
    return 2;
  }
  if (options->command == Command::kHelp) {
    std::cout << HelpText();
    return 0;
  }
  if (options->command == Command::kVersion) {
    std::cout << "grab (PageHarvest) 2.37\n";
    return 0;
  }
  // A password need not stand on the command line, where other users of the machine can see it.
  if (const char* password = std::getenv("PAGEHARVEST_PASSWORD")) options->settings.password_from_environment = password;
  return RunGrab(*options, std::cout, std::cerr);
}
