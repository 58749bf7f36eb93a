#include <bit>
#include <cstring>

#include "cipher/BlockPaths.h"
#include "cipher/RijndaelTables.h"

namespace lockvale {
namespace {

inline std::uint32_t LoadWord(const std::uint8_t* p) {
  std::uint32_t word;
  std::memcpy(&word, p, 4);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  return word;
}

inline void StoreWord(std::uint8_t* p, std::uint32_t word) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  std::memcpy(p, &word, 4);
}

inline std::uint32_t B0(std::uint32_t w) {
  return w & 0xFF;
}
inline std::uint32_t B1(std::uint32_t w) {
  return (w >> 8) & 0xFF;
}
inline std::uint32_t B2(std::uint32_t w) {
  return (w >> 16) & 0xFF;
}
inline std::uint32_t B3(std::uint32_t w) {
  return w >> 24;
}

// Encryption column c takes its bytes from columns c, c+1, c+2, c+3; decryption
// from c, c-1, c-2, c-3. `Step` is 1 or 3 (that is, -1 mod 4).
// N blocks run side by side so their table look-ups overlap.
template <int N, int Step>
inline void Rounds(const RijndaelTables::Table& T0, const RijndaelTables::Table& T1,
                   const RijndaelTables::Table& T2, const RijndaelTables::Table& T3,
                   const RijndaelTables::Table& T4, const std::uint32_t* rk, int Nr,
                   const std::uint8_t* in, std::uint8_t* out) {
  std::uint32_t t[N][4], s[N][4];
  for (int b = 0; b < N; ++b)
    for (int c = 0; c < 4; ++c)
      t[b][c] = LoadWord(in + 16 * b + 4 * c) ^ rk[c];
  for (int round = 1; round < Nr; ++round) {
    rk += 4;
    for (int b = 0; b < N; ++b) {
      for (int c = 0; c < 4; ++c)
        s[b][c] = t[b][c];
      for (int c = 0; c < 4; ++c)
        t[b][c] = T0[B0(s[b][c])] ^ T1[B1(s[b][(c + Step) & 3])] ^
                  T2[B2(s[b][(c + 2 * Step) & 3])] ^ T3[B3(s[b][(c + 3 * Step) & 3])] ^ rk[c];
    }
  }
  rk += 4;
  for (int b = 0; b < N; ++b) {
    for (int c = 0; c < 4; ++c)
      s[b][c] = t[b][c];
    for (int c = 0; c < 4; ++c) {
      std::uint32_t word = (T4[B0(s[b][c])] & 0x000000FF) ^
                           (T4[B1(s[b][(c + Step) & 3])] & 0x0000FF00) ^
                           (T4[B2(s[b][(c + 2 * Step) & 3])] & 0x00FF0000) ^
                           (T4[B3(s[b][(c + 3 * Step) & 3])] & 0xFF000000) ^ rk[c];
      StoreWord(out + 16 * b + 4 * c, word);
    }
  }
}

template <int Step>
void RunBlocks(const RijndaelTables::Table& T0, const RijndaelTables::Table& T1,
               const RijndaelTables::Table& T2, const RijndaelTables::Table& T3,
               const RijndaelTables::Table& T4, const std::uint32_t* rk, int Nr,
               const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  constexpr int kLanes = 2;
  for (; blocks >= kLanes; blocks -= kLanes, in += 16 * kLanes, out += 16 * kLanes)
    Rounds<kLanes, Step>(T0, T1, T2, T3, T4, rk, Nr, in, out);
  if (blocks) Rounds<1, Step>(T0, T1, T2, T3, T4, rk, Nr, in, out);
}

}  // namespace

void PortableEncryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                           std::size_t blocks) {
  const RijndaelTables& t = RijndaelTables::Instance();
  RunBlocks<1>(t.Te0, t.Te1, t.Te2, t.Te3, t.Te4, key.fkey.data(), key.Nr, in, out, blocks);
}

void PortableDecryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                           std::size_t blocks) {
  const RijndaelTables& t = RijndaelTables::Instance();
  RunBlocks<3>(t.Td0, t.Td1, t.Td2, t.Td3, t.Td4, key.rkey.data(), key.Nr, in, out, blocks);
}

}  // namespace lockvale
