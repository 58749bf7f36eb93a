// Ciphertexts under a wrong key: how often the length byte refuses them, and that every refusal
// leaves no output behind.
#include <gtest/gtest.h>

#include <iostream>

#include "TestSupport.h"
#include "jobs/FileJob.h"

using namespace lockvale::test;

namespace {

// With a wrong key the last block decrypts to noise, whose final byte (the length of the last
// piece) is refused when it is 16 or more: 15 times in 16.
TEST(WrongKey, TheLengthByteRefusesAboutFifteenInSixteen) {
  constexpr int kFiles = 1000;
  TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("wrong", 256);
  const Bytes right = Key(std::string(32, 'r'));
  int refused = 0;
  for (int i = 0; i < kFiles; ++i) {
    const Bytes plain = RandomBytes(i % 97, 5000 + i);
    const std::string name = dir / std::to_string(i);
    WriteFile(name + ".encr", OpenSslEcb(true, right, 256, PadWithLengthByte(plain)));
    if (RunFileJob(cipher, {name + ".encr", name, Direction::Decrypt}).format.kind ==
        FormatResult::BadLengthByte) {
      ++refused;
      ASSERT_FALSE(std::filesystem::exists(name)) << name;
    }
  }
  std::cout << "wrong key: " << refused << " of " << kFiles << " refused by the length byte\n";
  RecordProperty("refused", refused);
  // 937.5 expected; the bounds are about five standard deviations away.
  EXPECT_GE(refused, 900);
  EXPECT_LE(refused, 975);
}

}  // namespace
