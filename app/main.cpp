#include <string>
#include <vector>

#include "app/program.h"
#include "platform/arguments.h"

int main(int /*argc*/, char** argv) {
  const std::vector<std::string> arguments = platform::Utf8Arguments(argv);
  std::vector<const char*> utf8Argv;
  utf8Argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) utf8Argv.push_back(argument.c_str());
  utf8Argv.push_back(nullptr);
  return app::RunProgram(argv, utf8Argv.data());
}
