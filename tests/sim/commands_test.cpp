// bridgesim's exit statuses and messages: misuse 2 with what was wrong,
// failure 1 with the one true reason.
#include "sim/control_command.h"
#include "sim_test_env.h"

namespace sim {
namespace {

using namespace testing;

TEST_F(SimTest, ControlCommandSaysWhatWasWrong) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* message;  // the first line on standard error
  } cases[] = {
      {{}, 2, "bridgesim: a COMMAND is needed"},
      {{"bogus"}, 2, "bridgesim: unknown command 'bogus'"},
      {{"show", "x"}, 2, "bridgesim: show: it takes no arguments"},
      {{"add", "--series", "t9"}, 2, "bridgesim: add: the series is t7 or other"},
      {{"add", "x"}, 2, "bridgesim: add: it takes nothing or --series t7|other"},
      {{"remove", "-1"}, 2, "bridgesim: remove: it takes one device number N, 0 or more"},
      {{"set", "vid"}, 2, "bridgesim: set: it takes FIELD VALUE"},
      {{"get", "colour"}, 2, "bridgesim: get: unknown field 'colour'"},
      {{"get", "--device", "x", "vid"}, 2, "bridgesim: get: --device takes a number N"},
      {{"set", "vid", "ZZZZ"}, 1, "bridgesim: the device cannot hold vid 'ZZZZ'"},
      {{"set", "--device", "3", "vid", "1"}, 1, "bridgesim: no device 3"},
      {{"remove", "5"}, 1, "bridgesim: no device 5"},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunControlCommand(c.args, out, err), c.status) << c.message;
    EXPECT_EQ(err.str().substr(0, err.str().find('\n')), c.message);
  }
}

}  // namespace
}  // namespace sim
