#pragma once

// AddressSanitizer and ThreadSanitizer map memory their own way: locked pages and address-space
// limits mean nothing under them. GCC says so with macros, Clang with features.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LOCKVALE_TEST_UNDER_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define LOCKVALE_TEST_UNDER_SANITIZER
#endif
#endif

#ifndef LOCKVALE_TEST_WITHOUT_OPENSSL
#include <openssl/evp.h>
#endif

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedBoxes.h"
#include "format/cEncrypt.h"
#include "util/CodePage.h"

#ifdef _WIN32
// The C runtime's own names for these; an empty value removes the variable there.
inline int setenv(const char* name, const char* value, int) {
  return _putenv_s(name, value);
}
inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
#endif

namespace lockvale::test {

#ifdef _WIN32
// Wine's code page is windows-1252; the tests expect UTF-8 as from a Linux C locale, chosen here
// as the window would choose it.
inline const bool kUtf8AsOnLinux = (CodePage::Choose("UTF-8"), true);
#endif

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomBytes(std::size_t size, std::uint64_t seed) {
  std::mt19937_64 generator(seed);
  Bytes bytes(size);
  std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(generator()); });
  return bytes;
}

// The key bytes of a typed key: its bytes, cut or zero-padded to 32.
inline Bytes Key(std::string_view text) {
  Bytes key(text.begin(), text.begin() + std::min<std::size_t>(text.size(), 32));
  key.resize(32, 0);
  return key;
}

// AES-ECB without padding from OpenSSL, the independent reference: the first
// keyBits / 8 bytes of `key` are used. Where OpenSSL is not there to link (the MinGW build),
// the table path stands in: it passes the standard's known answers at every start and is
// checked against OpenSSL on Linux.
inline Bytes OpenSslEcb(bool encrypt, const Bytes& key, int keyBits, const Bytes& data) {
#ifdef LOCKVALE_TEST_WITHOUT_OPENSSL
  BlockCipher tables(CipherPath::Portable);
  tables.InstallKey(key, keyBits);
  Bytes out(data.size());
  if (encrypt)
    tables.EncryptBlocks(data.data(), out.data(), data.size() / 16);
  else
    tables.DecryptBlocks(data.data(), out.data(), data.size() / 16);
  return out;
#else
  const std::string name = "aes-" + std::to_string(keyBits) + "-ecb";
  std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX*)> ctx(EVP_CIPHER_CTX_new(),
                                                                 EVP_CIPHER_CTX_free);
  Bytes out(data.size() + 16);
  int len = 0, tail = 0;
  if (!EVP_CipherInit_ex(ctx.get(), EVP_get_cipherbyname(name.c_str()), nullptr, key.data(),
                         nullptr, encrypt ? 1 : 0) ||
      !EVP_CIPHER_CTX_set_padding(ctx.get(), 0) ||
      !EVP_CipherUpdate(ctx.get(), out.data(), &len, data.data(), static_cast<int>(data.size())) ||
      !EVP_CipherFinal_ex(ctx.get(), out.data() + len, &tail))
    throw std::runtime_error("OpenSSL ECB failed");
  out.resize(static_cast<std::size_t>(len + tail));
  return out;
#endif
}

// The encrypted-file form of `plain` before ECB: zero padding, then the length byte.
inline Bytes PadWithLengthByte(const Bytes& plain) {
  Bytes padded(plain);
  padded.resize((plain.size() + 16) & ~std::size_t{15}, 0);
  padded.back() = static_cast<std::uint8_t>(plain.size() % 16);
  return padded;
}

// A key text (found by a deterministic search) under which the last block of `ciphertext`
// decrypts to one ending in `lastByte`: a wrong key that gives a chosen length byte.
inline std::string WrongKey(const Bytes& ciphertext, int keyBits, std::uint8_t lastByte) {
  const Bytes last(ciphertext.end() - 16, ciphertext.end());
  for (int n = 1;; ++n)
    if (OpenSslEcb(false, Key(std::to_string(n)), keyBits, last).back() == lastByte)
      return std::to_string(n);
}

// The exception of type E that `action` throws, if any.
template <typename E, typename F>
std::optional<E> Caught(F&& action) {
  try {
    action();
  } catch (const E& error) {
    return error;
  }
  return std::nullopt;
}

// A fresh folder under the system's temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir() {  // a name in use is passed over; a folder that cannot be made throws
    for (std::random_device random; path_.empty();) {
      auto name =
          std::filesystem::temp_directory_path() / ("lockvale-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(name)) path_ = name;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // With "/" between the names on every system, as the finder gives paths.
  std::string operator/(const std::string& name) const { return (path_ / name).generic_string(); }
  const std::filesystem::path& Path() const { return path_; }
  Names Entries() const {  // sorted
    Names names;
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

}  // namespace lockvale::test
