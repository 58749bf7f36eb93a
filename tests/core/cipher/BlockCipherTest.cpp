// The block transform on every cipher path and key installation.

#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "util/RaisedError.h"

using namespace lockvale::test;

static Bytes Encrypted(cEncrypt& cipher, const Bytes& data) {
  Bytes out;
  cipher.ArrayEncrypt(data, out, 0);
  return out;
}

class CipherPathTest : public ::testing::TestWithParam<CipherPath> {
 protected:
  void SetUp() override {
    if (!CipherPathSupported(GetParam())) GTEST_SKIP() << "not supported by this processor";
  }
};

// The path's self-test: the standard's known answers (FIPS-197 Appendix C), and agreement with
// the tables over every pipeline width and tail. Then against OpenSSL: up to 80 blocks passes
// every pipeline width (8, 16, 32 blocks) with every tail. The one cipher object is re-keyed to
// longer and shorter keys: nothing of an earlier key may stay behind the new schedule.
TEST_P(CipherPathTest, PassesItsSelfTestAndMatchesOpenSslForAnyBlockCountPlacementAndRekeying) {
  EXPECT_TRUE(CipherPathSelfTest(GetParam()));
  std::uint64_t seed = 1000;
  BlockCipher cipher(GetParam());
  for (int bits : {256, 128, 192, 256, 192}) {
    const Bytes key = RandomBytes(32, ++seed);
    cipher.InstallKey(key, bits);
    ASSERT_EQ(cipher.Schedule().Nr, 6 + bits / 32);
    const auto used = 4 * (bits / 32 + 7);
    for (const auto* words : {&cipher.Schedule().fkey, &cipher.Schedule().rkey})
      EXPECT_TRUE(std::all_of(words->begin() + used, words->end(), [](auto w) { return w == 0; }));
    for (std::size_t blocks = 1; blocks <= 80; blocks += blocks < 40 ? 1 : 7) {
      SCOPED_TRACE(testing::Message() << bits << " bits, " << blocks << " blocks");
      const std::size_t size = 16 * blocks, skew = blocks % 16;
      const Bytes data = RandomBytes(size, ++seed);
      // Misaligned input and output with guard bytes around them.
      Bytes in(size + 32, 0xA5), out(size + 32, 0xA5);
      std::copy(data.begin(), data.end(), in.begin() + skew);
      cipher.EncryptBlocks(in.data() + skew, out.data() + 1, blocks);
      EXPECT_EQ(Bytes(out.begin() + 1, out.begin() + 1 + size), OpenSslEcb(true, key, bits, data));
      EXPECT_TRUE(out[0] == 0xA5 && out[size + 1] == 0xA5);              // the guard bytes
      cipher.DecryptBlocks(in.data() + skew, in.data() + skew, blocks);  // in place
      EXPECT_EQ(Bytes(in.begin() + skew, in.begin() + skew + size),
                OpenSslEcb(false, key, bits, data));
    }
  }
}

static std::string PathName(const testing::TestParamInfo<CipherPath>& info) {
  std::string name = CipherPathName(info.param);
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(AllPaths, CipherPathTest,
                         ::testing::Values(CipherPath::Portable, CipherPath::AesNi,
                                           CipherPath::Vaes256, CipherPath::Vaes512),
                         PathName);

TEST(CipherPathAndKey, BestPathThatPassesItsSelfTestPhrasesCutOrPaddedIllegalSizesRefused) {
  CipherPath best = CipherPath::Portable;
  for (CipherPath path : {CipherPath::AesNi, CipherPath::Vaes256, CipherPath::Vaes512})
    if (CipherPathSupported(path)) best = path;
  const char* forced = std::getenv("LOCKVALE_CIPHER");
  EXPECT_EQ(BlockCipher().Path(),
            forced && forced == std::string("portable") ? CipherPath::Portable : best);

  // A key phrase is cut or zero-padded; illegal sizes, and more bits than the key bytes hold,
  // keep the old key.
  const Bytes data = RandomBytes(32, 15);
  cEncrypt cipher;
  for (int bits : {128, 192, 256})
    for (std::string phrase : {"", "abc", "0123456789abcdefghijklmnopqrstuvwxyzABCD"}) {
      cipher.SetCipherKeyString(phrase, bits);
      EXPECT_EQ(Encrypted(cipher, data), OpenSslEcb(true, Key(phrase), bits, data)) << phrase;
    }
  const Bytes before = Encrypted(cipher, data);
  for (int bits : {0, 64, 160, 224, 512, 256}) {
    const auto error = Caught<RaisedError>([&] { cipher.SetCipherKey(Bytes(24), bits); });
    EXPECT_EQ(error.value().Number(), 1);
    EXPECT_STREQ(error->what(), "cEncrypt.SetCipherKey - Illegal KeyBits Value");
  }
  EXPECT_EQ(Encrypted(cipher, data), before);
}
