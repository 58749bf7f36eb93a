// The encrypted-file format, its failures, progress reports and I/O errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "TestSupport.h"
#include "jobs/FileJob.h"

using namespace lockvale::test;

class FileFormat : public ::testing::TestWithParam<std::size_t> {};

// Serves `delivered` bytes in order while it claims `size`; they may end sooner, as when a file
// shrinks. Read at an offset, all of `size` is there. Counts the bytes it served.
struct ShortSource : ByteSource {
  ShortSource(std::size_t delivered, std::uint64_t size) : left(delivered), size(size) {}
  std::uint64_t Size() const override { return size; }
  std::size_t Read(std::uint8_t* out, std::size_t wanted) override {
    const std::size_t n = std::min(wanted, left);
    left -= n;
    return Serve(out, n);
  }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t wanted) override {
    return Serve(out, static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size - offset)));
  }
  std::size_t Serve(std::uint8_t* out, std::size_t n) {
    std::fill_n(out, n, 0x5A);
    served += n;
    return n;
  }
  std::size_t left, served = 0;
  std::uint64_t size;
};

// Counts writes and fails the one numbered `failAt`.
struct FailingSink : ByteSink {
  void Write(const std::uint8_t*, std::size_t) override {
    if (++writes == failAt) throw std::system_error(std::make_error_code(std::errc::io_error));
  }
  int writes = 0, failAt = 0;
};

// Checked against OpenSSL. Progress rises, at most about once per
// 64 KiB, to the offset of the last block.
TEST_P(FileFormat, PaddedEcbWithLengthByteProgressAndBack) {
  const std::size_t n = GetParam();
  const int bits = 128 + 64 * static_cast<int>(n % 3);
  const Bytes key = RandomBytes(32, n + 1), plain = RandomBytes(n, n + 2);
  TempDir dir;
  WriteFile(dir / "plain", plain);
  cEncrypt cipher;
  cipher.SetCipherKey(key, bits);
  std::vector<std::uint64_t> offsets;
  cipher.SetProgressCallback([&](std::uint64_t offset) { offsets.push_back(offset); });
  auto checkProgress = [&](std::uint64_t size) {
    EXPECT_TRUE(std::is_sorted(offsets.begin(), offsets.end()));
    EXPECT_EQ(offsets.back(), size - 16);
    EXPECT_LE(offsets.size(), size / 65536 + 2);
    offsets.clear();
  };

  ASSERT_EQ(RunFileJob(cipher, {dir / "plain", dir / "cipher"}).format, FormatResult{});
  const Bytes encrypted = ReadFile(dir / "cipher");
  checkProgress(encrypted.size());
  EXPECT_TRUE(encrypted == OpenSslEcb(true, key, bits, PadWithLengthByte(plain)));

  ASSERT_EQ(RunFileJob(cipher, {dir / "cipher", dir / "back", Direction::Decrypt}).format,
            FormatResult{});
  checkProgress(encrypted.size());
  EXPECT_TRUE(ReadFile(dir / "back") == plain);  // created even when empty
}

// Around the block size, the progress slice of 64 KiB, the working chunk of 1 MiB, and
// 2 MiB, past which a second thread writes; then several chunks through that thread.
INSTANTIATE_TEST_SUITE_P(Sizes, FileFormat,
                         ::testing::Values(0, 1, 15, 16, 17, 65'536, (1 << 20) - 1, 1 << 20,
                                           (1 << 20) + 1, (2 << 20) - 16, 2 << 20, (2 << 20) + 1,
                                           (5 << 20) + 3));

// Ragged ciphertext is refused, from a file before anything is created, and a wrong key is
// caught by its length byte, in memory and in files, each with where it was found; a file's
// final block is decrypted first, so that a wrong key is refused having read only that block
// and created nothing. Failed reads and writes throw.
TEST(FormatFailure, RaggedCiphertextWrongKeysAndFailedReadsAndWrites) {
  TempDir dir;
  cEncrypt cipher;
  cipher.SetCipherKeyString("right", 256);
  auto decrypt = [&](const char* destination = "back") {
    return RunFileJob(cipher, {dir / "cipher", dir / destination, Direction::Decrypt, true}).format;
  };
  Bytes plain{1, 2, 3}, encrypted;
  for (std::size_t size : {0, 17, 1'048'577}) {
    WriteFile(dir / "cipher", RandomBytes(size, 31));
    EXPECT_EQ(decrypt(), (FormatResult{FormatResult::RaggedCiphertext, size & ~15u}));
    EXPECT_FALSE(std::filesystem::exists(dir / "back")) << size;
  }

  WriteFile(dir / "plain", RandomBytes(1'500'000, 34));
  ASSERT_EQ(RunFileJob(cipher, {dir / "plain", dir / "cipher", Direction::Encrypt, true}).format,
            FormatResult{});
  cipher.ArrayEncrypt(RandomBytes(40, 26), encrypted, 1);
  // The lowest length byte that gives a wrong key away.
  cipher.SetCipherKeyString(WrongKey(encrypted, 256, 16), 256);
  EXPECT_EQ(cipher.ArrayDecrypt(plain, encrypted, 1),
            (FormatResult{FormatResult::BadLengthByte, 47}));
  EXPECT_EQ(plain.size(), encrypted.size());
  cipher.SetCipherKeyString(WrongKey(ReadFile(dir / "cipher"), 256, 16), 256);
  WriteFile(dir / "back", {1, 2, 3});
  EXPECT_EQ(decrypt(), (FormatResult{FormatResult::BadLengthByte, 1'500'015}));
  EXPECT_EQ(ReadFile(dir / "back"), (Bytes{1, 2, 3}));  // a failure leaves what stood there
  EXPECT_EQ(decrypt("missing/back"), (FormatResult{FormatResult::BadLengthByte, 1'500'015}));

  FailingSink failing, sink;  // the one fails, the other never
  failing.failAt = 3;
  ShortSource source(5'000'000, 5'000'000), large(0, 1ull << 32);
  EXPECT_THROW(cipher.FileEncrypt(source, failing), std::system_error);
  EXPECT_EQ(failing.writes, 3);
  cipher.SetCipherKeyString(WrongKey(Bytes(16, 0x5A), 256, 16), 256);
  EXPECT_EQ(cipher.FileDecrypt(sink, large),
            (FormatResult{FormatResult::BadLengthByte, (1ull << 32) - 1}));
  EXPECT_TRUE(large.served == 16 && sink.writes == 0);
  cipher.SetCipherKeyString(WrongKey(Bytes(16, 0x5A), 256, 0), 256);
  // A source that ends before its announced size: the file shrank while read.
  for (auto [delivered, claimed] :
       {std::pair<std::size_t, std::uint64_t>{0, 16}, {1'048'581, 3'145'744}}) {
    ShortSource shrinking(delivered, claimed);
    EXPECT_THROW(cipher.FileDecrypt(sink, shrinking), std::system_error) << claimed;
  }
}
