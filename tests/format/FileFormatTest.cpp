// The encrypted-file format, its failures, progress reports and I/O errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "TestSupport.h"
#include "cipher/cEncrypt.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::MemorySink;
using test::MemorySource;
using test::RandomBytes;

class FileFormat : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FileFormat, PaddedEcbWithLengthByteAndBack) {
  const std::size_t n = GetParam();
  const int bits = 128 + 64 * static_cast<int>(n % 3);
  const Bytes key = RandomBytes(32, n + 1), plain = RandomBytes(n, n + 2);
  test::TempDir dir;
  test::WriteFile(dir / "plain", plain);
  cEncrypt cipher;
  cipher.SetCipherKey(key, bits);

  ASSERT_EQ(cipher.FileEncrypt(dir / "plain", dir / "cipher"), cEncrypt::FileOk);
  const Bytes encrypted = test::ReadFile(dir / "cipher");
  Bytes viaArray;
  cipher.ArrayEncrypt(plain, viaArray, 1);
  EXPECT_TRUE(encrypted == viaArray);
  EXPECT_TRUE(encrypted == test::OpenSslEcb(true, key, bits, test::PadWithLengthByte(plain)));

  ASSERT_EQ(cipher.FileDecrypt(dir / "back", dir / "cipher"), cEncrypt::FileOk);
  EXPECT_FALSE(cipher.ErrorHappened());
  EXPECT_TRUE(test::ReadFile(dir / "back") == plain);  // created even when empty
}

// Around the block size, the working chunk of 1 MiB, and 2 MiB, past which a second
// thread writes; then several chunks through that thread.
INSTANTIATE_TEST_SUITE_P(Sizes, FileFormat,
                         ::testing::Values(0, 1, 15, 16, 17, (1 << 20) - 1, 1 << 20, (1 << 20) + 1,
                                           (2 << 20) - 16, 2 << 20, (2 << 20) + 1, (5 << 20) + 3));

TEST(FileDecryptFailure, RaggedCiphertextCreatesNothingAndWrongKeyIsCaught) {
  test::TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("right", 256);
  test::NoticeRecorder notices(cipher);
  for (std::size_t size : {0, 17, 1'048'577}) {
    test::WriteFile(dir / "cipher", RandomBytes(size, 31));
    EXPECT_EQ(cipher.FileDecrypt(dir / "plain", dir / "cipher"), cEncrypt::FileSizeError);
    EXPECT_TRUE(cipher.ErrorHappened());
    EXPECT_FALSE(std::filesystem::exists(dir / "plain")) << size;
  }
  EXPECT_EQ(notices.boxes.TakeAsked(),
            test::Requests(
                3, test::NoticeBox("File Size Error - ciphertext file not a multiple of block size",
                                   "Size")));

  test::WriteFile(dir / "plain", RandomBytes(1'500'000, 34));
  ASSERT_EQ(cipher.FileEncrypt(dir / "plain", dir / "cipher"), cEncrypt::FileOk);
  EXPECT_FALSE(cipher.ErrorHappened());
  const Bytes encrypted = test::ReadFile(dir / "cipher");
  // The lowest length byte that gives a wrong key away.
  cipher.SetCipherKey(
      test::KeyDecryptingToLastByte(Bytes(encrypted.end() - 16, encrypted.end()), 256, 16), 256);
  EXPECT_EQ(cipher.FileDecrypt(dir / "back", dir / "cipher"), cEncrypt::FileLengthError);
  EXPECT_TRUE(cipher.ErrorHappened());
  EXPECT_EQ(notices.boxes.TakeAsked(),
            test::Requests{test::NoticeBox(
                "Warning - incorrect length field in decrypted file.\r\nWrong key or keysize?",
                "Error")});
}

TEST(FileProgress, NonDecreasingSparseAndEndingAtTheLastBlock) {
  cEncrypt cipher;
  cipher.SetCipherKeyString("progress", 192);
  std::vector<std::uint64_t> offsets;
  cipher.SetProgressCallback([&](std::uint64_t offset) { offsets.push_back(offset); });
  auto check = [&](std::uint64_t size, std::uint64_t last) {
    EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
    EXPECT_EQ(offsets.back(), last);
    EXPECT_LE(offsets.size(), size / 65536 + 2);
    offsets.clear();
  };
  for (std::size_t n : {0, 16, 65'536, 1'048'590, 10'000'000}) {
    SCOPED_TRACE(n);
    MemorySource plain(RandomBytes(n, n));
    MemorySink encrypted, back;
    ASSERT_EQ(cipher.FileEncrypt(plain, encrypted), cEncrypt::FileOk);
    check(n, n & ~std::uint64_t{15});
    MemorySource source(encrypted.bytes);
    ASSERT_EQ(cipher.FileDecrypt(back, source), cEncrypt::FileOk);
    check(encrypted.bytes.size(), encrypted.bytes.size() - 16);
  }
}

TEST(FileIoFailure, ReadAndWriteFailuresThrow) {
  test::TempDir dir;
  test::WriteFile(dir / "plain", RandomBytes(100, 41));
  cEncrypt cipher;
  cipher.SetCipherKeyString("io", 128);
  try {
    cipher.FileEncrypt(dir / "plain", "/dev/full");
    ADD_FAILURE() << "a full disk went unnoticed";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::no_space_on_device);
  }

  struct FailingSink : ByteSink {
    void Write(const std::uint8_t*, std::size_t) override {
      if (++writes == 3) throw std::system_error(std::make_error_code(std::errc::io_error));
    }
    int writes = 0;
  } failing;
  MemorySource plain(RandomBytes(5'000'000, 42));
  EXPECT_THROW(cipher.FileEncrypt(plain, failing), std::system_error);
  EXPECT_EQ(failing.writes, 3);

  // A source that ends before its announced size: the file shrank while read.
  for (auto [delivered, claimed] :
       {std::pair<std::size_t, std::uint64_t>{0, 16}, {1'048'581, 3'145'744}}) {
    MemorySource shrinking(RandomBytes(delivered, 43), claimed);
    MemorySink sink;
    EXPECT_THROW(cipher.FileDecrypt(sink, shrinking), std::system_error) << claimed;
  }
}

}  // namespace
}  // namespace lockvale
