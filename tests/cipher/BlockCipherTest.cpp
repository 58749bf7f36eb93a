// The block transform on every cipher path and key installation.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "TestSupport.h"
#include "cipher/cEncrypt.h"
#include "jobs/HexText.h"
#include "util/RaisedError.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::OpenSslEcb;
using test::RandomBytes;

Bytes Encrypted(const cEncrypt& cipher, Bytes data) {
  cipher.EncryptBlocks(data.data(), data.data(), data.size() / 16);
  return data;
}

class CipherPathTest : public ::testing::TestWithParam<CipherPath> {
 protected:
  void SetUp() override {
    if (!CipherPathSupported(GetParam())) GTEST_SKIP() << "not supported by this processor";
  }
};

TEST_P(CipherPathTest, StandardKnownAnswers) {
  // FIPS-197 Appendix C: key 00 01 02 ..., plaintext 00 11 22 ... ff.
  const std::pair<int, const char*> kAnswers[] = {{128, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                                                  {192, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                                                  {256, "8ea2b7ca516745bfeafc49904b496089"}};
  Bytes key(32), plain(16);
  std::iota(key.begin(), key.end(), 0);
  for (int i = 0; i < 16; ++i)
    plain[i] = static_cast<std::uint8_t>(0x11 * i);
  for (const auto& [bits, digits] : kAnswers) {
    Bytes expected;
    HexDisplayRev(digits, expected);
    cEncrypt cipher(GetParam());
    EXPECT_EQ(cipher.SetCipherKey(key, bits), 0);
    EXPECT_EQ(cipher.Nr(), 6 + bits / 32);
    Bytes out(16), back(16);
    cipher.BlockEncrypt(plain, out, 0, 0);
    EXPECT_EQ(out, expected) << bits;
    cipher.BlockDecrypt(back, out, 0, 0);
    EXPECT_EQ(back, plain) << bits;
  }
}

TEST_P(CipherPathTest, MatchesOpenSslForAnyBlockCountAlignmentAndPlacement) {
  // Up to 80 blocks passes every pipeline width (8, 16, 32 blocks) with every tail.
  std::uint64_t seed = 1000;
  for (int bits : {128, 192, 256}) {
    const Bytes key = RandomBytes(32, ++seed);
    cEncrypt cipher(GetParam());
    cipher.SetCipherKey(key, bits);
    for (std::size_t blocks = 1; blocks <= 80; blocks += blocks < 40 ? 1 : 7) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << blocks << " blocks");
      const std::size_t size = 16 * blocks, skew = blocks % 16;
      const Bytes data = RandomBytes(size, ++seed);
      // Misaligned input and output with guard bytes around them.
      Bytes in(size + 32, 0xA5), out(size + 32, 0xA5);
      std::copy(data.begin(), data.end(), in.begin() + skew);
      cipher.EncryptBlocks(in.data() + skew, out.data() + 1, blocks);
      EXPECT_EQ(Bytes(out.begin() + 1, out.begin() + 1 + size), OpenSslEcb(true, key, bits, data));
      EXPECT_EQ(out[0], 0xA5);
      EXPECT_EQ(out[size + 1], 0xA5);
      cipher.DecryptBlocks(in.data() + skew, in.data() + skew, blocks);  // in place
      EXPECT_EQ(Bytes(in.begin() + skew, in.begin() + skew + size),
                OpenSslEcb(false, key, bits, data));
    }
  }
}

TEST_P(CipherPathTest, RekeyingReplacesAndWipesTheWholeSchedule) {
  const Bytes first = RandomBytes(32, 1), second = RandomBytes(32, 2), data = RandomBytes(640, 3);
  for (auto [before, after] : {std::pair{256, 128}, {256, 192}, {128, 256}}) {
    cEncrypt cipher(GetParam());
    cipher.SetCipherKey(first, before);
    cipher.SetCipherKey(second, after);
    EXPECT_EQ(cipher.Nr(), 6 + after / 32);
    EXPECT_EQ(Encrypted(cipher, data), OpenSslEcb(true, second, after, data));
    // Nothing of the earlier, longer key stays behind the new schedule.
    const std::size_t used = 4 * (cipher.Nr() + 1);
    auto zero = [](std::uint32_t w) { return w == 0; };
    EXPECT_TRUE(
        std::all_of(cipher.Schedule().fkey.begin() + used, cipher.Schedule().fkey.end(), zero));
    EXPECT_TRUE(
        std::all_of(cipher.Schedule().rkey.begin() + used, cipher.Schedule().rkey.end(), zero));
  }
}

std::string PathName(const testing::TestParamInfo<CipherPath>& info) {
  std::string name = CipherPathName(info.param);
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(AllPaths, CipherPathTest,
                         ::testing::Values(CipherPath::Portable, CipherPath::AesNi,
                                           CipherPath::Vaes256, CipherPath::Vaes512),
                         PathName);

TEST(CipherPathSelection, BestPathThatPassesItsSelfTest) {
  CipherPath best = CipherPath::Portable;
  for (CipherPath path : {CipherPath::AesNi, CipherPath::Vaes256, CipherPath::Vaes512})
    if (CipherPathSupported(path)) best = path;
  const char* forced = std::getenv("LOCKVALE_CIPHER");
  EXPECT_EQ(cEncrypt().Path(),
            forced && forced == std::string("portable") ? CipherPath::Portable : best);
}

TEST(CipherBlocks, OffsetsAreHonouredAndCheckedAgainstTheBuffer) {
  const Bytes key = RandomBytes(32, 7);
  cEncrypt cipher;
  cipher.SetCipherKey(key, 192);
  Bytes buffer = RandomBytes(40, 8), out(40, 0);
  const Bytes block(buffer.begin() + 3, buffer.begin() + 19);
  cipher.BlockEncrypt(buffer, out, 3, 24);
  EXPECT_EQ(Bytes(out.begin() + 24, out.end()), OpenSslEcb(true, key, 192, block));
  EXPECT_THROW(cipher.BlockEncrypt(buffer, out, 25, 0), std::out_of_range);
  EXPECT_THROW(cipher.BlockDecrypt(buffer, out, 0, SIZE_MAX), std::out_of_range);
}

TEST(CipherKey, IllegalSizesAreRefusedAndTheOldKeyStays) {
  const Bytes key = RandomBytes(32, 11), data = RandomBytes(64, 12);
  cEncrypt cipher;
  cipher.SetCipherKey(key, 192);
  const Bytes before = Encrypted(cipher, data);
  for (int bits : {0, 64, 160, 224, 512}) {
    try {
      cipher.SetCipherKeyString("another key", bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const RaisedError& error) {
      EXPECT_EQ(error.Number(), 1);
      EXPECT_STREQ(error.what(), "cEncrypt.SetCipherKey - Illegal KeyBits Value");
    }
  }
  EXPECT_THROW(cipher.SetCipherKey(Bytes(16), 256), std::out_of_range);  // too few bytes
  EXPECT_EQ(Encrypted(cipher, data), before);
}

TEST(CipherKey, PhraseIsCutOrZeroPaddedTo32Bytes) {
  const Bytes data = RandomBytes(32, 15);
  for (int bits : {128, 192, 256}) {
    for (std::string phrase : {"0123456789abcdefghijklmnopqrstuvwxyzABCD", "abc", ""}) {
      Bytes key(32, 0);
      std::copy_n(phrase.begin(), std::min<std::size_t>(phrase.size(), 32), key.begin());
      cEncrypt cipher;
      EXPECT_EQ(cipher.SetCipherKeyString(phrase, bits), 0);
      EXPECT_EQ(Encrypted(cipher, data), OpenSslEcb(true, key, bits, data)) << bits << phrase;
    }
  }
}

}  // namespace
}  // namespace lockvale
