#if defined(__x86_64__)

#include <immintrin.h>

#include "cipher/AesRoundsX86.h"
#include "cipher/BlockPaths.h"

namespace lockvale {
namespace {

struct Ymm {
  using Reg = __m256i;
  static constexpr std::size_t kBlocks = 2;
  static Reg Broadcast(const std::uint32_t* w) {
    return _mm256_broadcastsi128_si256(_mm_load_si128((const __m128i*)w));
  }
  static Reg Load(const std::uint8_t* p) { return _mm256_loadu_si256((const Reg*)p); }
  static void Store(std::uint8_t* p, Reg v) { _mm256_storeu_si256((Reg*)p, v); }
  // Only one block can be left over; it travels in the low half.
  static Reg LoadTail(const std::uint8_t* p, std::size_t) {
    return _mm256_zextsi128_si256(_mm_loadu_si128((const __m128i*)p));
  }
  static void StoreTail(std::uint8_t* p, Reg v, std::size_t) {
    _mm_storeu_si128((__m128i*)p, _mm256_castsi256_si128(v));
  }
  static Reg Xor(Reg a, Reg b) { return _mm256_xor_si256(a, b); }
  static Reg Enc(Reg a, Reg k) { return _mm256_aesenc_epi128(a, k); }
  static Reg EncLast(Reg a, Reg k) { return _mm256_aesenclast_epi128(a, k); }
  static Reg Dec(Reg a, Reg k) { return _mm256_aesdec_epi128(a, k); }
  static Reg DecLast(Reg a, Reg k) { return _mm256_aesdeclast_epi128(a, k); }
};

}  // namespace

void Vaes256EncryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks) {
  x86::Run<Ymm, true>(key, in, out, blocks);
}

void Vaes256DecryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks) {
  x86::Run<Ymm, false>(key, in, out, blocks);
}

}  // namespace lockvale
#endif
