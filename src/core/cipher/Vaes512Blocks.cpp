#if defined(__x86_64__)

#include <immintrin.h>

#include "cipher/AesRoundsX86.h"
#include "cipher/BlockPaths.h"

namespace lockvale {
namespace {

struct Zmm {
  using Reg = __m512i;
  static constexpr std::size_t kBlocks = 4;
  static Reg Broadcast(const std::uint32_t* w) {
    // The zero-masked form: the plain one trips a false uninitialised warning in GCC 12.
    return _mm512_maskz_broadcast_i32x4(0xFFFF, _mm_load_si128((const __m128i*)w));
  }
  static Reg Load(const std::uint8_t* p) { return _mm512_loadu_si512(p); }
  static void Store(std::uint8_t* p, Reg v) { _mm512_storeu_si512(p, v); }
  // One to three blocks: two 64-bit lanes each, masked so nothing past them is touched.
  static __mmask8 TailMask(std::size_t blocks) {
    return static_cast<__mmask8>((1u << (2 * blocks)) - 1);
  }
  static Reg LoadTail(const std::uint8_t* p, std::size_t blocks) {
    return _mm512_maskz_loadu_epi64(TailMask(blocks), p);
  }
  static void StoreTail(std::uint8_t* p, Reg v, std::size_t blocks) {
    _mm512_mask_storeu_epi64(p, TailMask(blocks), v);
  }
  static Reg Xor(Reg a, Reg b) { return _mm512_xor_si512(a, b); }
  static Reg Enc(Reg a, Reg k) { return _mm512_aesenc_epi128(a, k); }
  static Reg EncLast(Reg a, Reg k) { return _mm512_aesenclast_epi128(a, k); }
  static Reg Dec(Reg a, Reg k) { return _mm512_aesdec_epi128(a, k); }
  static Reg DecLast(Reg a, Reg k) { return _mm512_aesdeclast_epi128(a, k); }
};

}  // namespace

void Vaes512EncryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks) {
  x86::Run<Zmm, true>(key, in, out, blocks);
}

void Vaes512DecryptBlocks(const KeySchedule& key, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks) {
  x86::Run<Zmm, false>(key, in, out, blocks);
}

}  // namespace lockvale
#endif
