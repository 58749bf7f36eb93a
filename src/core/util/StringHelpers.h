#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lockvale {

// The pieces of `szString` between the separators, from index 0: one more piece than there
// are separators, so "a,b," gives "a", "b" and "", and "" gives one empty piece.
void SplitString(std::string_view szString, char szChar, std::vector<std::string>& szArray);

// 1-based position of the last occurrence of `str2` in `str1` that starts at the second
// character or later; 1 when there is none.
std::size_t RInStr(std::string_view str1, std::string_view str2);

}  // namespace lockvale
