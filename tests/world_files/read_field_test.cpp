#include <gtest/gtest.h>

#include <string>

#include "world/map_files.h"

TEST(ReadFieldTest, ValueRunsToTheSemicolonAcrossLinesThenPastTheLineEnd) {
  const std::string text = "label:     first\nsecond; rest\nthird;\n";
  size_t position = 0;
  char value[64];
  ASSERT_EQ(ReadField(text, position, value, sizeof value, 11), 1);
  EXPECT_STREQ(value, "first\nsecond");
  EXPECT_EQ(position, text.find("third"));
  // Skip 0, as the dialogue reads it.
  EXPECT_EQ(ReadField(text, position, value, sizeof value, 0), 1);
  EXPECT_STREQ(value, "third");
  EXPECT_EQ(position, text.size());
}

TEST(ReadFieldTest, MissingSeparatorsStopAtTheEndOfTheText) {
  char value[64];
  size_t position = 0;
  std::string text = "label:     no semicolon at all";
  EXPECT_EQ(ReadField(text, position, value, sizeof value, 11), 1);
  EXPECT_STREQ(value, "no semicolon at all");
  EXPECT_EQ(position, text.size());

  position = 0;
  text = "label:     42;no line feed";
  EXPECT_EQ(ReadField(text, position, nullptr, 0, 11), 42);
  EXPECT_EQ(position, text.size());

  // A position or a skip past the end reads an empty value.
  position = 4;
  EXPECT_EQ(ReadField("abc", position, nullptr, 0, 11), 0);
  EXPECT_EQ(position, 3u);
  position = 0;
  EXPECT_EQ(ReadField("short", position, value, sizeof value, 11), 1);
  EXPECT_STREQ(value, "");
  EXPECT_EQ(position, 5u);
}

TEST(ReadFieldTest, LongValuesKeepTheirFirst1023BytesAndTheDestinationSize) {
  const std::string text = "label:     " + std::string(5000, 'x') + ";\nnext";
  size_t position = 0;
  std::string value(2000, '#');
  ASSERT_EQ(ReadField(text, position, value.data(), value.size(), 11), 1);
  EXPECT_EQ(std::string(value.c_str()), std::string(1023, 'x'));
  EXPECT_EQ(text.substr(position), "next");

  char small[4] = {'#', '#', '#', '#'};
  position = 0;
  ReadField("label:     abcdef;\n", position, small, sizeof small, 11);
  EXPECT_STREQ(small, "abc");
  position = 0;
  char none = '#';
  EXPECT_EQ(ReadField("label:     abc;\n", position, &none, 0, 11), 1);
  EXPECT_EQ(none, '#');
}
