#include "cipher/CipherPath.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cipher/BlockCipher.h"
#include "cipher/BlockPaths.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace lockvale {
namespace {

#if defined(__x86_64__)
struct CpuFeatures {
  bool aesni = false, vaes256 = false, vaes512 = false;
};

std::uint64_t EnabledRegisterState() {
  std::uint32_t low, high;
  asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

CpuFeatures DetectCpu() {
  CpuFeatures f;
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return f;
  const bool sse41 = c & (1u << 19), aes = c & (1u << 25), osxsave = c & (1u << 27),
             avx = c & (1u << 28);
  f.aesni = aes && sse41;
  if (!osxsave || !avx) return f;
  // The wide registers count only when the operating system saves them.
  const std::uint64_t state = EnabledRegisterState();
  const bool ymmOs = (state & 0x6) == 0x6, zmmOs = (state & 0xE6) == 0xE6;
  if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return f;
  const bool avx2 = b & (1u << 5), avx512f = b & (1u << 16), avx512vl = b & (1u << 31),
             vaes = c & (1u << 9);
  f.vaes256 = f.aesni && ymmOs && avx2 && vaes;
  f.vaes512 = f.vaes256 && zmmOs && avx512f && avx512vl;
  return f;
}

const CpuFeatures& Cpu() {
  static const CpuFeatures features = DetectCpu();
  return features;
}
#endif

struct KnownAnswer {
  int keyBits;
  std::array<std::uint8_t, 16> ciphertext;
};

// FIPS-197 Appendix C: key 00 01 02 ..., plaintext 00 11 22 ... ff.
constexpr KnownAnswer kAppendixC[] = {
    {128,
     {0x69, 0xc4, 0xe0, 0xd8, 0x6a, 0x7b, 0x04, 0x30, 0xd8, 0xcd, 0xb7, 0x80, 0x70, 0xb4, 0xc5,
      0x5a}},
    {192,
     {0xdd, 0xa9, 0x7c, 0xa4, 0x86, 0x4c, 0xdf, 0xe0, 0x6e, 0xaf, 0x70, 0xa0, 0xec, 0x0d, 0x71,
      0x91}},
    {256,
     {0x8e, 0xa2, 0xb7, 0xca, 0x51, 0x67, 0x45, 0xbf, 0xea, 0xfc, 0x49, 0x90, 0x4b, 0x49, 0x60,
      0x89}},
};

CipherPath SelectCipherPath() {
  const char* forced = std::getenv("LOCKVALE_CIPHER");
  if (forced && std::strcmp(forced, "portable") == 0) return CipherPath::Portable;
  for (CipherPath path : {CipherPath::Vaes512, CipherPath::Vaes256, CipherPath::AesNi})
    if (CipherPathSupported(path) && CipherPathSelfTest(path)) return path;
  return CipherPath::Portable;
}

}  // namespace

const char* CipherPathName(CipherPath path) {
  switch (path) {
    case CipherPath::AesNi:
      return "aes-ni";
    case CipherPath::Vaes256:
      return "vaes-256";
    case CipherPath::Vaes512:
      return "vaes-512";
    case CipherPath::Portable:
      break;
  }
  return "portable";
}

bool CipherPathSupported(CipherPath path) {
#if defined(__x86_64__)
  switch (path) {
    case CipherPath::AesNi:
      return Cpu().aesni;
    case CipherPath::Vaes256:
      return Cpu().vaes256;
    case CipherPath::Vaes512:
      return Cpu().vaes512;
    case CipherPath::Portable:
      break;
  }
#endif
  return path == CipherPath::Portable;
}

BlockFunctions BlockFunctionsFor(CipherPath path) {
#if defined(__x86_64__)
  switch (path) {
    case CipherPath::AesNi:
      return {AesNiEncryptBlocks, AesNiDecryptBlocks};
    case CipherPath::Vaes256:
      return {Vaes256EncryptBlocks, Vaes256DecryptBlocks};
    case CipherPath::Vaes512:
      return {Vaes512EncryptBlocks, Vaes512DecryptBlocks};
    case CipherPath::Portable:
      break;
  }
#endif
  (void)path;
  return {PortableEncryptBlocks, PortableDecryptBlocks};
}

bool CipherPathSelfTest(CipherPath path) {
  // The standard's vectors, then a run long enough to pass through every
  // pipeline width and tail, checked against the table code.
  constexpr std::size_t kBlocks = 75;
  std::vector<std::uint8_t> data(kBlocks * 16), expected(data.size()), actual(data.size());
  std::array<std::uint8_t, 32> key{};
  for (std::size_t i = 0; i < key.size(); ++i)
    key[i] = static_cast<std::uint8_t>(i);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(i < 16 ? i * 0x11 : i * 7 + (i >> 4));

  BlockCipher tested(path), reference(CipherPath::Portable);
  for (const KnownAnswer& answer : kAppendixC) {
    tested.InstallKey(key, answer.keyBits);
    reference.InstallKey(key, answer.keyBits);
    tested.EncryptBlocks(data.data(), actual.data(), kBlocks);
    reference.EncryptBlocks(data.data(), expected.data(), kBlocks);
    if (std::memcmp(actual.data(), answer.ciphertext.data(), 16) != 0 || actual != expected)
      return false;
    tested.DecryptBlocks(actual.data(), actual.data(), kBlocks);
    if (actual != data) return false;
  }
  return true;
}

CipherPath ActiveCipherPath() {
  static const CipherPath path = SelectCipherPath();
  return path;
}

}  // namespace lockvale
