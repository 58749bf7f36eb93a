#pragma once

#include <array>
#include <cstdint>

namespace lockvale {

// The combined round tables of the Rijndael cipher, computed once per process from
// GF(2^8) arithmetic. Words are little-endian: byte 0 is bits 0-7.
struct RijndaelTables {
  using Table = std::array<std::uint32_t, 256>;

  static const RijndaelTables& Instance();

  Table Te0{}, Te1{}, Te2{}, Te3{}, Te4{};
  Table Td0{}, Td1{}, Td2{}, Td3{}, Td4{};
  std::array<std::uint32_t, 10> rco{};

 private:
  RijndaelTables();
};

}  // namespace lockvale
