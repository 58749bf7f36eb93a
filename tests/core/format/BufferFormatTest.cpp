// The in-memory forms: zero padding to whole blocks, optionally with a length byte. Their
// refusals are tested with those of the file form.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "format/cEncrypt.h"

using namespace lockvale::test;

TEST(ArrayForm, PaddingSizesContentAndRoundTrip) {
  // plaintext size, ciphertext size without and with the length byte
  const std::size_t kSizes[][3] = {{0, 0, 16},   {1, 16, 16},  {5, 16, 16},  {15, 16, 16},
                                   {16, 16, 32}, {17, 32, 32}, {32, 32, 48}, {100, 112, 112}};
  const Bytes key = RandomBytes(32, 21);
  for (int bits : {128, 256}) {
    cEncrypt cipher;
    cipher.SetCipherKey(key, bits);
    for (const auto& size : kSizes) {
      for (int appendsize : {0, 1}) {
        SCOPED_TRACE(testing::Message()
                     << bits << " bits, " << size[0] << " bytes, " << appendsize);
        const Bytes plain = RandomBytes(size[0], size[0]);
        Bytes padded = plain, encrypted{1, 2, 3}, back{9};
        padded.resize(size[1 + appendsize], 0);
        if (appendsize) padded.back() = static_cast<std::uint8_t>(size[0] % 16);
        ASSERT_EQ(cipher.ArrayEncrypt(plain, encrypted, appendsize), FormatResult{});
        EXPECT_EQ(encrypted, OpenSslEcb(true, key, bits, padded));
        ASSERT_EQ(cipher.ArrayDecrypt(back, encrypted, appendsize), FormatResult{});
        // Without a length byte the padding comes back; a lone block is never emptied.
        EXPECT_EQ(back, appendsize && size[0] ? plain : padded);
      }
    }
  }
}
