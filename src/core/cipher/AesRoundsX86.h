#pragma once

// Shared shape of the x86 hardware paths. Each including file is compiled with its
// instruction set enabled and defines a register traits type:
//   Reg, kBlocks (blocks per register), Broadcast(round key pointer),
//   Load/Store (full register), LoadTail/StoreTail (first n blocks), Xor,
//   Enc/EncLast/Dec/DecLast.
// ECB has no chaining, so eight registers of blocks go through the rounds
// side by side and the AES units never wait on one another.

#include <cstddef>
#include <cstdint>

#include "cipher/KeySchedule.h"

namespace lockvale::x86 {

template <class V, int Nr, int Lanes, bool Encrypt>
inline void Pipeline(const typename V::Reg* rk, const std::uint8_t* in, std::uint8_t* out) {
  typename V::Reg x[Lanes];
  for (int l = 0; l < Lanes; ++l)
    x[l] = V::Xor(V::Load(in + 16 * V::kBlocks * l), rk[0]);
  for (int r = 1; r < Nr; ++r)
    for (int l = 0; l < Lanes; ++l)
      x[l] = Encrypt ? V::Enc(x[l], rk[r]) : V::Dec(x[l], rk[r]);
  for (int l = 0; l < Lanes; ++l) {
    x[l] = Encrypt ? V::EncLast(x[l], rk[Nr]) : V::DecLast(x[l], rk[Nr]);
    V::Store(out + 16 * V::kBlocks * l, x[l]);
  }
}

template <class V, int Nr, bool Encrypt>
void RunRounds(const std::uint32_t* words, const std::uint8_t* in, std::uint8_t* out,
               std::size_t blocks) {
  typename V::Reg rk[Nr + 1];
  for (int r = 0; r <= Nr; ++r)
    rk[r] = V::Broadcast(words + 4 * r);
  constexpr std::size_t kWide = 8 * V::kBlocks;
  for (; blocks >= kWide; blocks -= kWide, in += 16 * kWide, out += 16 * kWide)
    Pipeline<V, Nr, 8, Encrypt>(rk, in, out);
  for (; blocks >= V::kBlocks; blocks -= V::kBlocks, in += 16 * V::kBlocks, out += 16 * V::kBlocks)
    Pipeline<V, Nr, 1, Encrypt>(rk, in, out);
  if (blocks == 0) return;
  typename V::Reg x = V::Xor(V::LoadTail(in, blocks), rk[0]);
  for (int r = 1; r < Nr; ++r)
    x = Encrypt ? V::Enc(x, rk[r]) : V::Dec(x, rk[r]);
  V::StoreTail(out, Encrypt ? V::EncLast(x, rk[Nr]) : V::DecLast(x, rk[Nr]), blocks);
}

template <class V, bool Encrypt>
void Run(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) {
  const std::uint32_t* words = Encrypt ? key.fkey.data() : key.rkey.data();
  switch (key.Nr) {
    case 12:
      return RunRounds<V, 12, Encrypt>(words, in, out, blocks);
    case 14:
      return RunRounds<V, 14, Encrypt>(words, in, out, blocks);
    default:  // 10
      return RunRounds<V, 10, Encrypt>(words, in, out, blocks);
  }
}

}  // namespace lockvale::x86
