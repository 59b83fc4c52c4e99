#include <gtest/gtest.h>

#include <string>

#include "core/read_field.h"

TEST(ReadFieldTest, ValuesRunToTheSemicolonThenPastTheLineEndAndStayInBounds) {
  const std::string longText = "label:     " + std::string(5000, 'x') + ";\nnext";
  struct Case {
    std::string text;
    size_t from;
    int skip, room;  // room: the destination's size; -1 for none, to read a number
    int result;
    std::string value;  // "#" when the destination must be left alone
    size_t to;
  } cases[] = {
      {"label:     first\nsecond; rest\nthird;\n", 0, 11, 64, 1, "first\nsecond", 30},
      {"label:     first\nsecond; rest\nthird;\n", 30, 0, 64, 1, "third", 37},  // skip 0, as the dialogue reads it
      {"label:     no semicolon at all", 0, 11, 64, 1, "no semicolon at all", 30},
      {"label:     42;no line feed", 0, 11, -1, 42, "#", 26},
      {"abc", 4, 11, -1, 0, "#", 3},  // a position past the end
      {"short", 0, 11, 64, 1, "", 5},  // a skip past the end
      {longText, 0, 11, 2000, 1, std::string(1023, 'x'), longText.size() - 4},
      {"label:     abcdef;\n", 0, 11, 4, 1, "abc", 19},
      {"label:     abc;\n", 0, 11, 0, 1, "#", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 30));
    std::string destination(size_t(std::max(c.room, 1)), '#');
    size_t position = c.from;
    EXPECT_EQ(ReadField(c.text, position, c.room < 0 ? nullptr : destination.data(), size_t(std::max(c.room, 0)), c.skip),
              c.result);
    EXPECT_EQ(c.room > 0 ? std::string(destination.c_str()) : destination, c.value);
    EXPECT_EQ(position, c.to);
  }
}
