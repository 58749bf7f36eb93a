// The block transform on every cipher path, the round tables and key installation.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "cipher/cEncrypt.h"
#include "util/RaisedError.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::OpenSslEcb;
using test::RandomBytes;

constexpr CipherPath kAllPaths[] = {CipherPath::Portable, CipherPath::AesNi, CipherPath::Vaes256,
                                    CipherPath::Vaes512};
constexpr int kKeyBits[] = {128, 192, 256};

Bytes Hex(const std::string& text) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  return bytes;
}

Bytes Encrypted(const cEncrypt& cipher, Bytes data) {
  cipher.EncryptBlocks(data.data(), data.data(), data.size() / 16);
  return data;
}

// A window into a larger buffer filled with a guard value, so that a transform
// writing outside its blocks, or depending on alignment, shows up.
struct GuardedBuffer {
  static constexpr std::uint8_t kGuard = 0xA5;
  GuardedBuffer(std::size_t offset, std::size_t size)
      : raw(offset + size + 64, kGuard), offset(offset), size(size) {}
  std::uint8_t* Data() { return raw.data() + offset; }
  Bytes Content() const { return Bytes(raw.begin() + offset, raw.begin() + offset + size); }
  bool GuardsIntact() const {
    auto isGuard = [](std::uint8_t b) { return b == kGuard; };
    return std::all_of(raw.begin(), raw.begin() + offset, isGuard) &&
           std::all_of(raw.begin() + offset + size, raw.end(), isGuard);
  }
  Bytes raw;
  std::size_t offset, size;
};

class CipherPathTest : public ::testing::TestWithParam<CipherPath> {
 protected:
  void SetUp() override {
    if (!CipherPathSupported(GetParam()))
      GTEST_SKIP() << CipherPathName(GetParam()) << " is not supported by this processor";
  }
};

TEST_P(CipherPathTest, StandardKnownAnswers) {
  // FIPS-197 Appendix C.
  const struct {
    int bits, rounds;
    const char* ciphertext;
  } kAnswers[] = {{128, 10, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                  {192, 12, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                  {256, 14, "8ea2b7ca516745bfeafc49904b496089"}};
  const Bytes plain = Hex("00112233445566778899aabbccddeeff");
  Bytes key(32);
  std::iota(key.begin(), key.end(), 0);
  for (const auto& answer : kAnswers) {
    SCOPED_TRACE(answer.bits);
    cEncrypt cipher(GetParam());
    EXPECT_EQ(cipher.SetCipherKey(key, answer.bits), 0);
    EXPECT_EQ(cipher.Nr(), answer.rounds);
    EXPECT_EQ(cipher.Path(), GetParam());
    const Bytes expected = Hex(answer.ciphertext);

    Bytes out(16), back(16);
    cipher.BlockEncrypt(plain, out, 0, 0);
    EXPECT_EQ(out, expected);
    cipher.BlockDecrypt(back, out, 0, 0);
    EXPECT_EQ(back, plain);

    Bytes bulk = plain;
    cipher.EncryptBlocks(bulk.data(), bulk.data(), 1);
    EXPECT_EQ(bulk, expected);
    cipher.DecryptBlocks(bulk.data(), bulk.data(), 1);
    EXPECT_EQ(bulk, plain);
  }
}

TEST_P(CipherPathTest, MatchesOpenSslForAnyBlockCountAndAlignment) {
  // 1..80 passes through every pipeline width (8, 16 and 32 blocks) with every tail.
  std::vector<std::size_t> counts;
  for (std::size_t n = 1; n <= 80; ++n)
    counts.push_back(n);
  for (std::size_t n : {95, 96, 97, 127, 128, 129, 255, 256, 257, 4099})
    counts.push_back(n);

  std::uint64_t seed = 1000;
  for (int bits : kKeyBits) {
    const Bytes key = RandomBytes(32, ++seed);  // OpenSSL reads only the first bits / 8
    cEncrypt cipher(GetParam());
    cipher.SetCipherKey(key, bits);
    for (std::size_t blocks : counts) {
      SCOPED_TRACE(testing::Message() << bits << "-bit key, " << blocks << " blocks");
      const std::size_t size = blocks * 16;
      const Bytes data = RandomBytes(size, ++seed);
      const Bytes encrypted = OpenSslEcb(true, key, bits, data);
      const Bytes decrypted = OpenSslEcb(false, key, bits, data);
      const std::size_t inOffset = blocks % 16, outOffset = (blocks * 7 + 3) % 16;

      GuardedBuffer in(inOffset, size), out(outOffset, size);
      std::copy(data.begin(), data.end(), in.Data());
      cipher.EncryptBlocks(in.Data(), out.Data(), blocks);
      EXPECT_EQ(out.Content(), encrypted);
      cipher.DecryptBlocks(in.Data(), out.Data(), blocks);
      EXPECT_EQ(out.Content(), decrypted);
      EXPECT_TRUE(out.GuardsIntact());

      // In place, there and back.
      cipher.EncryptBlocks(in.Data(), in.Data(), blocks);
      EXPECT_EQ(in.Content(), encrypted);
      cipher.DecryptBlocks(in.Data(), in.Data(), blocks);
      EXPECT_EQ(in.Content(), data);
      EXPECT_TRUE(in.GuardsIntact());
    }
  }
}

TEST_P(CipherPathTest, RekeyingReplacesTheWholeSchedule) {
  const Bytes first = RandomBytes(32, 1), second = RandomBytes(32, 2);
  const Bytes data = RandomBytes(16 * 40, 3);
  for (auto [before, after] : {std::pair{256, 128}, {256, 192}, {192, 128}, {128, 256}}) {
    SCOPED_TRACE(testing::Message() << before << " then " << after);
    cEncrypt cipher(GetParam());
    cipher.SetCipherKey(first, before);
    cipher.SetCipherKey(second, after);
    EXPECT_EQ(cipher.Nr(), 6 + after / 32);
    EXPECT_EQ(Encrypted(cipher, data), OpenSslEcb(true, second, after, data));

    // Round keys past the current key's last one hold nothing of the earlier key.
    const auto& schedule = cipher.Schedule();
    const std::size_t used = 4 * (static_cast<std::size_t>(cipher.Nr()) + 1);
    EXPECT_TRUE(std::all_of(schedule.fkey.begin() + used, schedule.fkey.end(),
                            [](std::uint32_t w) { return w == 0; }));
    EXPECT_TRUE(std::all_of(schedule.rkey.begin() + used, schedule.rkey.end(),
                            [](std::uint32_t w) { return w == 0; }));
  }
}

TEST_P(CipherPathTest, PassesItsSelfTest) {
  EXPECT_TRUE(CipherPathSelfTest(GetParam()));
}

std::string PathTestName(const ::testing::TestParamInfo<CipherPath>& info) {
  constexpr const char* kNames[] = {"Portable", "AesNi", "Vaes256", "Vaes512"};
  return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(AllPaths, CipherPathTest, ::testing::ValuesIn(kAllPaths), PathTestName);

TEST(CipherPathSelection, BestSupportedPathUnlessPortableIsForced) {
  const char* forced = std::getenv("LOCKVALE_CIPHER");
  CipherPath best = CipherPath::Portable;
  for (CipherPath path : kAllPaths)
    if (CipherPathSupported(path)) best = path;
  EXPECT_EQ(ActiveCipherPath(),
            forced && std::string(forced) == "portable" ? CipherPath::Portable : best);
  EXPECT_EQ(cEncrypt().Path(), ActiveCipherPath());
}

// The choice is made once per process, so this runs in a fresh one, where the
// body below is the first thing to ask for it.
TEST(CipherPathSelection, EnvironmentForcesPortable) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto forcedRun = [] {
    setenv("LOCKVALE_CIPHER", "portable", 1);
    bool portable =
        ActiveCipherPath() == CipherPath::Portable && cEncrypt().Path() == CipherPath::Portable;
    std::exit(portable ? 0 : 1);
  };
  EXPECT_EXIT(forcedRun(), ::testing::ExitedWithCode(0), "");
}

TEST(BlockForm, OffsetsAndBounds) {
  const Bytes key = RandomBytes(32, 7);
  cEncrypt cipher;
  cipher.SetCipherKey(key, 192);
  Bytes buffer = RandomBytes(40, 8), out(40, 0);
  const Bytes block(buffer.begin() + 3, buffer.begin() + 19);
  cipher.BlockEncrypt(buffer, out, 3, 24);
  EXPECT_EQ(Bytes(out.begin() + 24, out.end()), OpenSslEcb(true, key, 192, block));
  cipher.BlockDecrypt(buffer, out, 11, 24);
  EXPECT_EQ(Bytes(buffer.begin() + 11, buffer.begin() + 27), block);

  const Bytes before = buffer;
  for (std::size_t bad : {std::size_t{25}, std::size_t{40}, SIZE_MAX}) {
    EXPECT_THROW(cipher.BlockEncrypt(buffer, out, bad, 0), std::out_of_range);
    EXPECT_THROW(cipher.BlockEncrypt(buffer, out, 0, bad), std::out_of_range);
    EXPECT_THROW(cipher.BlockDecrypt(buffer, out, bad, 0), std::out_of_range);
    EXPECT_THROW(cipher.BlockDecrypt(buffer, out, 0, bad), std::out_of_range);
  }
  EXPECT_EQ(buffer, before);
}

TEST(RijndaelTablesTest, KnownEntriesAndInverseSBox) {
  const RijndaelTables t;
  EXPECT_EQ(t.Te0[0], 0xA56363C6u);
  EXPECT_EQ(t.Td0[0], 0x50A7F451u);
  EXPECT_EQ(t.Te4[0] & 0xFF, 0x63u);
  EXPECT_EQ(t.Te4[1] & 0xFF, 0x7Cu);
  EXPECT_EQ(t.Td4[0x63], 0u);
  EXPECT_EQ(t.rco, (std::array<std::uint32_t, 10>{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80,
                                                  0x1B, 0x36}));
  for (std::uint32_t x = 0; x < 256; ++x) {
    ASSERT_EQ(t.Td4[t.Te4[x] & 0xFF] & 0xFF, x);
    ASSERT_EQ(t.Te4[x], 0x01010101u * (t.Te4[x] & 0xFF)) << x;  // all four bytes alike
    ASSERT_EQ(t.Td4[x], 0x01010101u * (t.Td4[x] & 0xFF)) << x;
  }
}

TEST(CipherKey, IllegalSizesAreRefusedAndTheOldKeyStays) {
  const Bytes key = RandomBytes(32, 11), data = RandomBytes(64, 12);
  cEncrypt cipher;
  cipher.SetCipherKey(key, 192);
  const Bytes before = Encrypted(cipher, data);
  for (int bits : {0, 64, 127, 160, 224, 257, 512, -128}) {
    SCOPED_TRACE(bits);
    for (bool asString : {false, true}) {
      try {
        asString ? cipher.SetCipherKeyString("another key", bits) : cipher.SetCipherKey(key, bits);
        ADD_FAILURE() << "accepted";
      } catch (const RaisedError& error) {
        EXPECT_EQ(error.Number(), 1);
        EXPECT_STREQ(error.what(), "cEncrypt.SetCipherKey - Illegal KeyBits Value");
      }
      EXPECT_EQ(cipher.Nr(), 12);
      EXPECT_EQ(Encrypted(cipher, data), before);
    }
  }
  // Too few key bytes for the size asked for.
  EXPECT_THROW(cipher.SetCipherKey(Bytes(16), 256), std::out_of_range);
  EXPECT_EQ(Encrypted(cipher, data), before);
}

TEST(CipherKey, PhraseIsCutOrZeroPaddedTo32Bytes) {
  const Bytes data = RandomBytes(32, 15);
  const std::string longPhrase = "0123456789abcdefghijklmnopqrstuvwxyzABCD";  // 40 characters
  for (int bits : kKeyBits) {
    SCOPED_TRACE(bits);
    for (const std::string& phrase : {longPhrase, std::string("abc"), std::string()}) {
      Bytes expectedKey(32, 0);
      std::copy_n(phrase.begin(), std::min<std::size_t>(phrase.size(), 32), expectedKey.begin());
      cEncrypt cipher;
      EXPECT_EQ(cipher.SetCipherKeyString(phrase, bits), 0);
      EXPECT_EQ(Encrypted(cipher, data), OpenSslEcb(true, expectedKey, bits, data));
    }
  }
}

}  // namespace
}  // namespace lockvale
