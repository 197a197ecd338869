// bridgesim-image: writes firmware images for the simulated bridge.
#include <iostream>
#include <string>
#include <vector>

#include "platform/arguments.h"
#include "sim/commands/image_command.h"

int main(int /*argc*/, char** argv) {
  // Paths as UTF-8, as the file functions take them.
  std::vector<std::string> args = platform::Utf8Arguments(argv);
  args.erase(args.begin());
  return sim::RunImageCommand(args, std::cout, std::cerr);
}
