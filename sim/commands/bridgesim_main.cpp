// bridgesim: the simulator's control command.
#include <iostream>
#include <string>
#include <vector>

#include "sim/commands/control_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return sim::RunControlCommand(args, std::cout, std::cerr);
}
