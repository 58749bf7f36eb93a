#include "cipher/RijndaelTables.h"

namespace lockvale {
namespace {

std::uint8_t xtime(std::uint8_t y) {
  return static_cast<std::uint8_t>(y >= 0x80 ? ((y & 0x7F) << 1) ^ 0x1B : y << 1);
}

std::uint32_t Pack(std::uint32_t b0, std::uint32_t b1, std::uint32_t b2, std::uint32_t b3) {
  return b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
}

}  // namespace

const RijndaelTables& RijndaelTables::Instance() {
  static const RijndaelTables tables;
  return tables;
}

RijndaelTables::RijndaelTables() {
  // Powers and logarithms of the generator 3.
  std::array<std::uint8_t, 256> ptab{}, ltab{};
  ptab[0] = 1;
  ptab[1] = 3;
  ltab[3] = 1;
  for (int i = 2; i < 256; ++i) {
    ptab[i] = ptab[i - 1] ^ xtime(ptab[i - 1]);
    ltab[ptab[i]] = static_cast<std::uint8_t>(i);
  }

  // S-box: multiplicative inverse followed by the affine transform.
  Te4[0] = 0x63636363;
  Td4[0x63] = 0;
  for (int i = 1; i < 256; ++i) {
    std::uint8_t y = ptab[255 - ltab[i]];
    std::uint8_t b = y;
    for (int k = 0; k < 4; ++k) {
      b = static_cast<std::uint8_t>((b << 1) | (b >> 7));
      y ^= b;
    }
    y ^= 0x63;
    Te4[i] = 0x01010101u * y;
    Td4[y] = 0x01010101u * static_cast<std::uint32_t>(i);
  }

  std::uint8_t constant = 1;
  for (auto& value : rco) {
    value = constant;
    constant = xtime(constant);
  }

  auto multiply = [&](std::uint8_t c, std::uint8_t y) -> std::uint32_t {
    return y == 0 ? 0 : ptab[(ltab[c] + ltab[y]) % 255];
  };
  for (int i = 0; i < 256; ++i) {
    std::uint32_t s = Te4[i] & 0xFF;
    std::uint32_t s2 = xtime(static_cast<std::uint8_t>(s));
    std::uint32_t s3 = s ^ s2;
    Te0[i] = Pack(s2, s, s, s3);
    Te1[i] = Pack(s3, s2, s, s);
    Te2[i] = Pack(s, s3, s2, s);
    Te3[i] = Pack(s, s, s3, s2);

    auto inv = static_cast<std::uint8_t>(Td4[i] & 0xFF);
    std::uint32_t e = multiply(0x0E, inv), n = multiply(0x09, inv);
    std::uint32_t d = multiply(0x0D, inv), b = multiply(0x0B, inv);
    Td0[i] = Pack(e, n, d, b);
    Td1[i] = Pack(b, e, n, d);
    Td2[i] = Pack(d, b, e, n);
    Td3[i] = Pack(n, d, b, e);
  }
}

}  // namespace lockvale
