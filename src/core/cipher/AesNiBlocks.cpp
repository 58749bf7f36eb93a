#if defined(__x86_64__)

#include <immintrin.h>

#include "cipher/AesRoundsX86.h"
#include "cipher/BlockPaths.h"

namespace lockvale {
namespace {

struct Xmm {
  using Reg = __m128i;
  static constexpr std::size_t kBlocks = 1;
  static Reg Broadcast(const std::uint32_t* w) { return _mm_load_si128((const Reg*)w); }
  static Reg Load(const std::uint8_t* p) { return _mm_loadu_si128((const Reg*)p); }
  static void Store(std::uint8_t* p, Reg v) { _mm_storeu_si128((Reg*)p, v); }
  static Reg LoadTail(const std::uint8_t* p, std::size_t) { return Load(p); }
  static void StoreTail(std::uint8_t* p, Reg v, std::size_t) { Store(p, v); }
  static Reg Xor(Reg a, Reg b) { return _mm_xor_si128(a, b); }
  static Reg Enc(Reg a, Reg k) { return _mm_aesenc_si128(a, k); }
  static Reg EncLast(Reg a, Reg k) { return _mm_aesenclast_si128(a, k); }
  static Reg Dec(Reg a, Reg k) { return _mm_aesdec_si128(a, k); }
  static Reg DecLast(Reg a, Reg k) { return _mm_aesdeclast_si128(a, k); }
};

}  // namespace

void AesNiEncryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks) {
  x86::Run<Xmm, true>(key, in, out, blocks);
}

void AesNiDecryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks) {
  x86::Run<Xmm, false>(key, in, out, blocks);
}

}  // namespace lockvale
#endif
