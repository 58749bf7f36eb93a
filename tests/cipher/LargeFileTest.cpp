// Files past 2 GiB and 4 GiB, streamed through virtual sources and sinks (no disk):
// the plaintext is all zeros, so every ciphertext block but the last is E(0).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "TestSupport.h"
#include "cipher/cEncrypt.h"

namespace lockvale {
namespace {

using test::Bytes;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::size_t kTile = 1 << 20;

// 1 MiB (and a block more) of one block repeated, to copy or compare from any offset.
struct Tile {
  explicit Tile(const Bytes& block) : bytes(kTile + 16) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = block[i % 16];
  }
  const std::uint8_t* At(std::uint64_t position) const { return bytes.data() + position % 16; }
  Bytes bytes;
};

// `size` bytes of one block repeated, except for a different final block.
class RepeatedBlockSource : public ByteSource {
 public:
  RepeatedBlockSource(std::uint64_t size, const Bytes& block, const Bytes& finalBlock)
      : size_(size), finalBlock_(finalBlock), tile_(block) {}
  std::uint64_t Size() const override { return size_; }
  std::size_t Read(std::uint8_t* data, std::size_t size) override {
    const auto total = static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - pos_));
    for (std::size_t done = 0, n; done < total; done += n) {
      n = std::min(kTile, total - done);
      std::memcpy(data + done, tile_.At(pos_ + done), n);
    }
    const std::uint64_t finalStart = size_ - finalBlock_.size();
    for (std::uint64_t at = std::max(pos_, finalStart); at < pos_ + total; ++at)
      data[at - pos_] = finalBlock_[at - finalStart];
    pos_ += total;
    return total;
  }

 private:
  std::uint64_t size_, pos_ = 0;
  Bytes finalBlock_;
  Tile tile_;
};

// Counts the blocks written that differ from one repeated block, holding back
// the stream's last 16 bytes for the caller to check.
class RepeatedBlockSink : public ByteSink {
 public:
  explicit RepeatedBlockSink(const Bytes& block) : tile_(block) {}
  void Write(const std::uint8_t* data, std::size_t size) override {
    if (size >= 16) {
      Check(heldBack.data(), heldBack.size(), total - heldBack.size());
      Check(data, size - 16, total);
      heldBack.assign(data + size - 16, data + size);
    } else {
      heldBack.insert(heldBack.end(), data, data + size);
      const std::size_t extra = heldBack.size() > 16 ? heldBack.size() - 16 : 0;
      Check(heldBack.data(), extra, total + size - heldBack.size());
      heldBack.erase(heldBack.begin(), heldBack.begin() + static_cast<std::ptrdiff_t>(extra));
    }
    total += size;
  }
  std::uint64_t total = 0, mismatches = 0;
  Bytes heldBack;

 private:
  void Check(const std::uint8_t* data, std::size_t size, std::uint64_t at) {
    for (std::size_t n; size > 0; data += n, size -= n, at += n) {
      n = std::min(kTile, size);
      mismatches += std::memcmp(data, tile_.At(at), n) != 0;
    }
  }
  Tile tile_;
};

CipherPath FastestPath() {
  for (CipherPath path : {CipherPath::Vaes512, CipherPath::Vaes256, CipherPath::AesNi})
    if (CipherPathSupported(path)) return path;
  return CipherPath::Portable;
}

TEST(LargeFile, SizesPast32BitsRoundTrip) {
  if (FastestPath() == CipherPath::Portable)
    GTEST_SKIP() << "gigabytes take too long without hardware AES";
  const Bytes key = test::RandomBytes(32, 51);
  cEncrypt cipher(FastestPath());
  cipher.SetCipherKey(key, 128);
  const Bytes zeroBlock(16, 0);
  const Bytes encryptedZero = test::OpenSslEcb(true, key, 128, zeroBlock);

  for (std::uint64_t n : {2 * kGiB + 5, 4 * kGiB + 17}) {
    SCOPED_TRACE(n);
    const std::uint64_t cipherSize = (n + 16) & ~std::uint64_t{15};
    Bytes padding(16, 0);
    padding.back() = static_cast<std::uint8_t>(n % 16);
    const Bytes encryptedPadding = test::OpenSslEcb(true, key, 128, padding);
    std::uint64_t lastOffset = 0;
    cipher.SetProgressCallback([&](std::uint64_t offset) { lastOffset = offset; });

    RepeatedBlockSource plain(n, zeroBlock, Bytes{});
    RepeatedBlockSink encrypted(encryptedZero);
    ASSERT_EQ(cipher.FileEncrypt(plain, encrypted), cEncrypt::FileOk);
    EXPECT_EQ(encrypted.total, cipherSize);
    EXPECT_EQ(encrypted.mismatches, 0u);
    EXPECT_EQ(encrypted.heldBack, encryptedPadding);
    EXPECT_EQ(lastOffset, n & ~std::uint64_t{15});

    RepeatedBlockSource c(cipherSize, encryptedZero, encryptedPadding);
    RepeatedBlockSink decrypted(zeroBlock);
    ASSERT_EQ(cipher.FileDecrypt(decrypted, c), cEncrypt::FileOk);
    EXPECT_EQ(decrypted.total, n);
    EXPECT_EQ(decrypted.mismatches, 0u);
    EXPECT_EQ(decrypted.heldBack, zeroBlock);
    EXPECT_EQ(lastOffset, cipherSize - 16);
  }
}

}  // namespace
}  // namespace lockvale
