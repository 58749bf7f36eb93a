// The encrypted-file format, its failures, progress reports and I/O errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "CipherTestSupport.h"
#include "TestSupport.h"
#include "cipher/cEncrypt.h"

namespace lockvale {
namespace {

using test::Bytes;
using test::MemorySink;
using test::MemorySource;
using test::Notice;
using test::OpenSslEcb;
using test::RandomBytes;
using test::RecordingNotifier;
using test::TempDir;

class FileFormat : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FileFormat, PaddedEcbWithLengthByteAndBack) {
  const std::size_t n = GetParam();
  const int bits = 128 + 64 * static_cast<int>(n % 3);
  const Bytes key = RandomBytes(32, n + 1), plain = RandomBytes(n, n + 2);
  TempDir dir;
  test::WriteFile(dir / "plain", plain);
  cEncrypt cipher;
  cipher.SetCipherKey(key, bits);

  ASSERT_EQ(cipher.FileEncrypt(dir / "plain", dir / "cipher"), cEncrypt::FileOk);
  const Bytes c = test::ReadFile(dir / "cipher");
  ASSERT_EQ(c.size(), (n + 16) & ~std::size_t{15});
  Bytes viaArray;
  cipher.ArrayEncrypt(plain, viaArray, 1);
  EXPECT_TRUE(c == viaArray);
  EXPECT_TRUE(c == OpenSslEcb(true, key, bits, test::PadWithLengthByte(plain)));

  ASSERT_EQ(cipher.FileDecrypt(dir / "back", dir / "cipher"), cEncrypt::FileOk);
  EXPECT_FALSE(cipher.ErrorHappened());
  ASSERT_TRUE(std::filesystem::is_regular_file(dir / "back"));
  EXPECT_TRUE(test::ReadFile(dir / "back") == plain);
}

// Around the block size, the 1 MiB working chunk and 4,000,000 bytes.
INSTANTIATE_TEST_SUITE_P(Sizes, FileFormat,
                         ::testing::Values(0, 1, 15, 16, 17, 1'048'575, 1'048'576, 1'048'577,
                                           3'999'990, 4'000'000, 4'000'016, 10'000'000),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

TEST(FileDecryptFailure, RaggedOrEmptyCiphertextCreatesNothing) {
  TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("size", 256);
  RecordingNotifier notifier;
  cipher.SetNotifier(&notifier);
  const std::vector<Notice> kNotice{
      {"File Size Error - ciphertext file not a multiple of block size", "Size",
       NoticeIcon::Information}};
  for (std::size_t size : {0, 17, 1'048'577}) {
    SCOPED_TRACE(size);
    test::WriteFile(dir / "cipher", RandomBytes(size, 31));
    notifier.notices.clear();
    EXPECT_EQ(cipher.FileDecrypt(dir / "plain", dir / "cipher"), cEncrypt::FileSizeError);
    EXPECT_TRUE(cipher.ErrorHappened());
    EXPECT_EQ(notifier.notices, kNotice);
    EXPECT_FALSE(std::filesystem::exists(dir / "plain"));

    MemorySource source(RandomBytes(size, 32));
    MemorySink sink;
    notifier.notices.clear();
    EXPECT_EQ(cipher.FileDecrypt(sink, source), cEncrypt::FileSizeError);
    EXPECT_TRUE(cipher.ErrorHappened());
    EXPECT_EQ(notifier.notices, kNotice);
    EXPECT_TRUE(sink.bytes.empty());

    // The next operation that succeeds clears the error.
    ASSERT_EQ(cipher.FileEncrypt(dir / "cipher", dir / "again"), cEncrypt::FileOk);
    EXPECT_FALSE(cipher.ErrorHappened());
  }
}

TEST(FileDecryptFailure, WrongKeyShowsInTheLengthByte) {
  TempDir dir;
  const Bytes right = RandomBytes(32, 33), plain = RandomBytes(1'500'000, 34);
  test::WriteFile(dir / "plain", plain);
  cEncrypt cipher;
  cipher.SetCipherKey(right, 256);
  ASSERT_EQ(cipher.FileEncrypt(dir / "plain", dir / "cipher"), cEncrypt::FileOk);
  const Bytes c = test::ReadFile(dir / "cipher");
  const Bytes lastBlock(c.end() - 16, c.end());

  // The lowest length byte that gives the wrong key away.
  cipher.SetCipherKey(test::KeyDecryptingToLastByte(lastBlock, 256, 16), 256);
  RecordingNotifier notifier;
  cipher.SetNotifier(&notifier);
  EXPECT_EQ(cipher.FileDecrypt(dir / "back", dir / "cipher"), cEncrypt::FileLengthError);
  EXPECT_TRUE(cipher.ErrorHappened());
  EXPECT_EQ(notifier.notices,
            (std::vector<Notice>{
                {"Warning - incorrect length field in decrypted file.\r\nWrong key or keysize?",
                 "Error", NoticeIcon::Information}}));

  cipher.SetCipherKey(right, 256);
  EXPECT_EQ(cipher.FileDecrypt(dir / "back", dir / "cipher"), cEncrypt::FileOk);
  EXPECT_FALSE(cipher.ErrorHappened());
  EXPECT_TRUE(test::ReadFile(dir / "back") == plain);
}

TEST(FileProgress, NonDecreasingSparseAndEndingAtTheLastBlock) {
  cEncrypt cipher;
  cipher.SetCipherKeyString("progress", 192);
  std::vector<std::uint64_t> offsets;
  cipher.SetProgressCallback([&](std::uint64_t offset) { offsets.push_back(offset); });
  auto check = [&](std::uint64_t size, std::uint64_t last) {
    ASSERT_FALSE(offsets.empty());
    EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
    EXPECT_EQ(offsets.back(), last);
    EXPECT_LE(offsets.size(), size / 65536 + 2);
    offsets.clear();
  };
  for (std::size_t n : {0, 1, 16, 65'535, 65'536, 1'048'576, 1'048'590, 3'999'990, 10'000'000}) {
    SCOPED_TRACE(n);
    MemorySource plain(RandomBytes(n, n));
    MemorySink c;
    ASSERT_EQ(cipher.FileEncrypt(plain, c), cEncrypt::FileOk);
    check(n, n & ~std::uint64_t{15});

    MemorySource source(c.bytes);
    MemorySink back;
    ASSERT_EQ(cipher.FileDecrypt(back, source), cEncrypt::FileOk);
    check(c.bytes.size(), c.bytes.size() - 16);
  }
}

TEST(FileIoFailure, FullDiskThrows) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TempDir dir;
  test::WriteFile(dir / "plain", RandomBytes(100, 41));
  cEncrypt cipher;
  cipher.SetCipherKeyString("full", 128);
  try {
    cipher.FileEncrypt(dir / "plain", "/dev/full");
    ADD_FAILURE() << "no error";
  } catch (const std::system_error& error) {
    EXPECT_EQ(error.code(), std::errc::no_space_on_device);
  }
}

TEST(FileIoFailure, SinkErrorsPropagate) {
  struct FailingSink : ByteSink {
    void Write(const std::uint8_t*, std::size_t) override {
      if (++writes == 3) throw std::system_error(std::make_error_code(std::errc::io_error));
    }
    int writes = 0;
  };
  cEncrypt cipher;
  cipher.SetCipherKeyString("sink", 128);
  MemorySource plain(RandomBytes(5'000'000, 42));
  FailingSink encrypted;
  EXPECT_THROW(cipher.FileEncrypt(plain, encrypted), std::system_error);
  EXPECT_EQ(encrypted.writes, 3);

  MemorySource c(Bytes(5'000'000 + 16));
  FailingSink decrypted;
  EXPECT_THROW(cipher.FileDecrypt(decrypted, c), std::system_error);
  EXPECT_EQ(decrypted.writes, 3);
}

TEST(FileIoFailure, SourceShorterThanItsSizeThrows) {
  cEncrypt cipher;
  cipher.SetCipherKeyString("short", 256);
  using Shortfall = std::pair<std::size_t, std::uint64_t>;  // delivered, claimed
  for (auto [delivered, claimed] :
       {Shortfall{0, 16}, {16, 32}, {1'048'576, 1'048'592}, {1'048'581, 3'145'744}}) {
    SCOPED_TRACE(claimed);
    MemorySource source(RandomBytes(delivered, 43), claimed);
    MemorySink sink;
    EXPECT_THROW(cipher.FileDecrypt(sink, source), std::system_error);
  }
}

}  // namespace
}  // namespace lockvale
