// The in-memory forms: zero padding to whole blocks, optionally with a length byte.

#include <gtest/gtest.h>

#include "CipherTestSupport.h"
#include "TestSupport.h"
#include "cipher/cEncrypt.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::Notice;
using test::OpenSslEcb;
using test::RandomBytes;
using test::RecordingNotifier;

TEST(ArrayForm, PaddingSizesContentAndRoundTrip) {
  const struct {
    std::size_t plain, withoutLength, withLength;
  } kSizes[] = {{0, 0, 16},   {1, 16, 16},  {5, 16, 16},  {15, 16, 16},
                {16, 16, 32}, {17, 32, 32}, {32, 32, 48}, {100, 112, 112}};
  const Bytes key = RandomBytes(32, 21);
  for (int bits : {128, 192, 256}) {
    cEncrypt cipher;
    cipher.SetCipherKey(key, bits);
    for (const auto& size : kSizes) {
      for (int appendsize : {0, 1}) {
        SCOPED_TRACE(testing::Message()
                     << bits << "-bit key, " << size.plain << " bytes, appendsize " << appendsize);
        const Bytes plain = RandomBytes(size.plain, size.plain + 22);
        Bytes padded = plain;
        padded.resize(appendsize ? size.withLength : size.withoutLength, 0);
        if (appendsize) padded.back() = static_cast<std::uint8_t>(size.plain % 16);

        Bytes cipherText{1, 2, 3};
        ASSERT_EQ(cipher.ArrayEncrypt(plain, cipherText, appendsize), 0);
        EXPECT_EQ(cipherText, OpenSslEcb(true, key, bits, padded));

        // Without the length byte the padding zeros come back; an empty buffer with
        // one comes back as its whole block (see ShortLengthKeepsTheWholeBlock).
        Bytes back{9};
        ASSERT_EQ(cipher.ArrayDecrypt(back, cipherText, appendsize), 0);
        EXPECT_EQ(back, appendsize && size.plain ? plain : padded);
      }
    }
  }
}

TEST(ArrayForm, EqualPlaintextBlocksGiveEqualCiphertextBlocks) {
  cEncrypt cipher;
  cipher.SetCipherKeyString("equal blocks", 256);
  Bytes plain = RandomBytes(48, 23);
  std::copy_n(plain.begin(), 16, plain.begin() + 32);
  Bytes c;
  cipher.ArrayEncrypt(plain, c, 0);
  EXPECT_TRUE(std::equal(c.begin(), c.begin() + 16, c.begin() + 32));
  EXPECT_FALSE(std::equal(c.begin(), c.begin() + 16, c.begin() + 16));
}

TEST(ArrayForm, RaggedCiphertextIsRefused) {
  cEncrypt cipher;
  cipher.SetCipherKeyString("ragged", 128);
  RecordingNotifier notifier;
  cipher.SetNotifier(&notifier);
  const Notice kNotice{"Ciphertext size not a multiple of block size", "Size",
                       NoticeIcon::Information};
  for (int appendsize : {0, 1}) {
    Bytes plain{1, 2, 3};
    notifier.notices.clear();
    EXPECT_EQ(cipher.ArrayDecrypt(plain, RandomBytes(20, 24), appendsize), -1);
    EXPECT_EQ(plain, (Bytes{1, 2, 3}));
    EXPECT_EQ(notifier.notices, std::vector<Notice>{kNotice});
  }
  // No room for a length byte in an empty buffer.
  Bytes plain{4};
  EXPECT_EQ(cipher.ArrayDecrypt(plain, Bytes{}, 1), -1);
  EXPECT_EQ(plain, Bytes{4});
}

TEST(ArrayForm, WrongKeyShowsInTheLengthByte) {
  const Bytes right = RandomBytes(32, 25);
  cEncrypt cipher;
  cipher.SetCipherKey(right, 256);
  Bytes c;
  cipher.ArrayEncrypt(RandomBytes(40, 26), c, 1);
  const Bytes lastBlock(c.end() - 16, c.end());

  RecordingNotifier notifier;
  cipher.SetNotifier(&notifier);
  for (std::uint8_t lengthByte : {16, 255}) {
    SCOPED_TRACE(int{lengthByte});
    notifier.notices.clear();
    cipher.SetCipherKey(test::KeyDecryptingToLastByte(lastBlock, 256, lengthByte), 256);
    Bytes plain;
    EXPECT_EQ(cipher.ArrayDecrypt(plain, c, 1), 1);
    EXPECT_EQ(notifier.notices, (std::vector<Notice>{{"Warning - Incorrect length field", "Length",
                                                      NoticeIcon::Information}}));
  }
}

TEST(ArrayForm, ShortLengthKeepsTheWholeBlock) {
  // A single block whose length byte says 0 is returned whole, never as nothing.
  const Bytes key = RandomBytes(32, 27);
  Bytes block = RandomBytes(16, 28);
  block.back() = 0;
  cEncrypt cipher;
  cipher.SetCipherKey(key, 128);
  Bytes plain;
  EXPECT_EQ(cipher.ArrayDecrypt(plain, OpenSslEcb(true, key, 128, block), 1), 0);
  EXPECT_EQ(plain, block);
}

}  // namespace
}  // namespace lockvale
