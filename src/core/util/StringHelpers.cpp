#include "util/StringHelpers.h"

namespace lockvale {

void SplitString(std::string_view szString, char szChar, std::vector<std::string>& szArray) {
  szArray.clear();
  for (std::size_t at; (at = szString.find(szChar)) != std::string_view::npos;) {
    szArray.emplace_back(szString.substr(0, at));
    szString.remove_prefix(at + 1);
  }
  szArray.emplace_back(szString);
}

std::size_t RInStr(std::string_view str1, std::string_view str2) {
  // 1 also stands for "none", so an occurrence at the first character reads as none.
  std::size_t at = str1.rfind(str2);
  return at == std::string_view::npos ? 1 : at + 1;
}

}  // namespace lockvale
