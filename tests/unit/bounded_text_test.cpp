#include "ui/bounded_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CopyBoundedText, TakesWhatFitsWholeAndRefusesTheRest) {
  struct CopyCase {
    std::string text;
    bool accepted;
  };
  const CopyCase cases[] = {
      {"", true}, {"ab", true}, {"abcd", true}, {"abcde", false}, {std::string(300, 'x'), false}};
  for (const CopyCase& c : cases) {
    char field[6] = {'O', 'L', 'D', 'O', 'L', 'D'};  // one guard byte past the 5-byte field
    EXPECT_EQ(CopyBoundedText(field, 5, c.text.c_str()), c.accepted) << c.text;
    const std::string expected =
        c.accepted ? c.text + std::string(5 - c.text.size(), '\0') + "D" : std::string("OLDOLD");
    EXPECT_EQ(std::string(field, sizeof field), expected) << c.text;
  }
  char field[4] = {};
  EXPECT_FALSE(CopyBoundedText(field, sizeof field, nullptr));
  EXPECT_FALSE(CopyBoundedText(field, 0, ""));
}

}  // namespace
