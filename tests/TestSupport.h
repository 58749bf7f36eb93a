#pragma once

#include <openssl/evp.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedBoxes.h"
#include "cipher/cEncrypt.h"
#include "util/ByteStream.h"

namespace lockvale::test {

using Bytes = std::vector<std::uint8_t>;
using Requests = std::vector<MessageRequest>;

// Records a cipher's notices as the message boxes the window would show.
struct NoticeRecorder {
  explicit NoticeRecorder(cEncrypt& cipher) { cipher.SetNotifier(&notifier); }
  ScriptedBoxes boxes;
  MessageBoxNotifier notifier{boxes};
};

inline Bytes RandomBytes(std::size_t size, std::uint64_t seed) {
  std::mt19937_64 generator(seed);
  Bytes bytes(size);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(generator());
  return bytes;
}

// AES-ECB without padding from OpenSSL: the independent reference.
inline Bytes OpenSslEcb(bool encrypt, const Bytes& key, int keyBits, const Bytes& data) {
  const EVP_CIPHER* cipher = keyBits == 128   ? EVP_aes_128_ecb()
                             : keyBits == 192 ? EVP_aes_192_ecb()
                                              : EVP_aes_256_ecb();
  EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
  Bytes out(data.size() + 16);
  int len = 0, tail = 0;
  if (!EVP_CipherInit_ex(ctx, cipher, nullptr, key.data(), nullptr, encrypt ? 1 : 0) ||
      !EVP_CIPHER_CTX_set_padding(ctx, 0) ||
      !EVP_CipherUpdate(ctx, out.data(), &len, data.data(), static_cast<int>(data.size())) ||
      !EVP_CipherFinal_ex(ctx, out.data() + len, &tail)) {
    EVP_CIPHER_CTX_free(ctx);
    throw std::runtime_error("OpenSSL ECB failed");
  }
  EVP_CIPHER_CTX_free(ctx);
  out.resize(static_cast<std::size_t>(len + tail));
  return out;
}

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("lockvale-test-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }
  // Names of everything in the folder, sorted.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The encrypted-file form of `plain`: zero padding and the length byte, then ECB.
inline Bytes PadWithLengthByte(const Bytes& plain) {
  Bytes padded(plain);
  std::size_t size = (plain.size() + 16) & ~std::size_t{15};
  padded.resize(size, 0);
  padded.back() = static_cast<std::uint8_t>(plain.size() % 16);
  return padded;
}

// Serves a buffer; `claimedSize` lets a test pretend the data is longer than it is.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(Bytes data) : data_(std::move(data)), claimedSize_(data_.size()) {}
  MemorySource(Bytes data, std::uint64_t claimedSize)
      : data_(std::move(data)), claimedSize_(claimedSize) {}
  std::uint64_t Size() const override { return claimedSize_; }
  std::size_t Read(std::uint8_t* out, std::size_t size) override {
    std::size_t n = std::min(size, data_.size() - position_);
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(position_), n, out);
    position_ += n;
    return n;
  }

 private:
  Bytes data_;
  std::uint64_t claimedSize_;
  std::size_t position_ = 0;
};

class MemorySink : public ByteSink {
 public:
  void Write(const std::uint8_t* data, std::size_t size) override {
    bytes.insert(bytes.end(), data, data + size);
  }
  Bytes bytes;
};

// A key (found by a deterministic search) under which `block` decrypts to a
// block ending in `lastByte`: a wrong key giving a chosen length byte.
inline Bytes KeyDecryptingToLastByte(const Bytes& block, int keyBits, std::uint8_t lastByte) {
  for (std::uint64_t seed = 1;; ++seed) {
    Bytes key = RandomBytes(32, seed);
    if (OpenSslEcb(false, key, keyBits, block).back() == lastByte) return key;
  }
}

}  // namespace lockvale::test
