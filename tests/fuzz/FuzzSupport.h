#pragma once

// What the fuzz targets share: a check that stops the run, and how the cipher targets read an
// input.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

// libFuzzer reports the abort as a crash and saves the input that caused it.
#define FUZZ_CHECK(condition) \
  ((condition) ? void() : ::lockvale::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace lockvale::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

// Byte 0 picks the key size (its value mod 3: 128, 192 or 256 bits) and, for buffers,
// the length byte (its value / 3 odd); the next 32 bytes are the key, zero-padded when the
// input is shorter; the rest is the ciphertext.
struct CipherInput {
  explicit CipherInput(std::span<const std::uint8_t> input) {
    const int selector = input.empty() ? 0 : input[0];
    keyBits = 128 + 64 * (selector % 3);
    lengthByte = (selector / 3) % 2 == 1;
    const auto keyed = input.subspan(std::min<std::size_t>(input.size(), 1));
    const std::size_t keySize = std::min(keyed.size(), key.size());
    std::copy_n(keyed.begin(), keySize, key.begin());
    ciphertext = keyed.subspan(keySize);
  }
  int keyBits;
  bool lengthByte;
  std::array<std::uint8_t, 32> key{};
  std::span<const std::uint8_t> ciphertext;
};

}  // namespace lockvale::fuzz
