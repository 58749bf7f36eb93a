#include "util/StringHelpers.h"

#include <gtest/gtest.h>

using namespace lockvale;

TEST(StringHelpers, SplitGivesOnePieceMoreThanSeparators) {
  using Pieces = std::vector<std::string>;
  const std::pair<std::string, Pieces> rows[] = {
      {"a,b", {"a", "b"}}, {"a,b,", {"a", "b", ""}}, {",,", {"", "", ""}}, {"", {""}}};
  for (const auto& [text, expected] : rows) {
    Pieces pieces{"left over"};
    SplitString(text, ',', pieces);
    EXPECT_EQ(pieces, expected) << text;
  }
}

TEST(StringHelpers, RInStrFindsTheLastOccurrenceFromTheSecondCharacter) {
  const std::tuple<std::string, std::string, std::size_t> rows[] = {
      {"a.txt.encr", ".encr", 6},  {"a.txt", ".encr", 1},
      {"x.encr.encr", ".encr", 7}, {".encr", ".encr", 1},
      {"a.ENCR", ".encr", 1},      {std::string(70000, 'x') + ".encr", ".encr", 70001}};
  for (const auto& [text, part, position] : rows)
    EXPECT_EQ(RInStr(text, part), position) << text;
}
