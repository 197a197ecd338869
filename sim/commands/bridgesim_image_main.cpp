// bridgesim-image: writes firmware images for the simulated bridge.
#include <iostream>
#include <string>
#include <vector>

#include "sim/commands/image_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return sim::RunImageCommand(args, std::cout, std::cerr);
}
