// Bulk ECB throughput of each cipher path, with OpenSSL's EVP interface on the
// same processor as the yardstick.
//
// Benchmark names read direction/key bits/buffer/implementation, for example
// "encrypt/128/16KiB/vaes-512". "hardware" is the path a new cipher object
// gets (ActiveCipherPath()), or the best supported one when LOCKVALE_CIPHER
// forces the table code; "table" is the portable table-driven code. Every
// buffer is transformed in place, as the file jobs do.
//
// `lockvale_bench --cipher-paths` prints the active and supported paths and exits.

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "cipher/BlockCipher.h"
#include "cipher/CipherPath.h"
#include "format/cEncrypt.h"

namespace {

using lockvale::BlockCipher;
using lockvale::CipherPath;

enum class Direction { Encrypt, Decrypt };

struct Case {
  Direction direction;
  int keyBits;
  std::size_t bytes;
  const char* sizeName;
};

constexpr CipherPath kHardwarePaths[] = {CipherPath::AesNi, CipherPath::Vaes256,
                                         CipherPath::Vaes512};

const std::array<std::uint8_t, 32>& BenchKey() {
  static const std::array<std::uint8_t, 32> key = [] {
    std::array<std::uint8_t, 32> bytes{};
    std::mt19937 generator(20240611);
    for (auto& byte : bytes)
      byte = static_cast<std::uint8_t>(generator());
    return bytes;
  }();
  return key;
}

// A cache-line aligned buffer of random bytes.
class Buffer {
 public:
  explicit Buffer(std::size_t size)
      : m_Size(size), m_Data(static_cast<std::uint8_t*>(std::aligned_alloc(64, RoundUp(size)))) {
    if (!m_Data) throw std::bad_alloc();
    std::mt19937_64 generator(size);
    for (std::size_t i = 0; i < size; ++i)
      m_Data.get()[i] = static_cast<std::uint8_t>(generator());
  }
  std::uint8_t* Data() { return m_Data.get(); }
  std::size_t Size() const { return m_Size; }

 private:
  static std::size_t RoundUp(std::size_t size) { return (size + 63) / 64 * 64; }
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::size_t m_Size;
  std::unique_ptr<std::uint8_t, Free> m_Data;
};

struct ContextFree {
  void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_CIPHER_CTX, ContextFree>;

// An ECB context without padding, keyed with BenchKey(); empty on failure.
Context OpenSslContext(int keyBits, Direction direction) {
  Context context(EVP_CIPHER_CTX_new());
  const EVP_CIPHER* cipher = keyBits == 128 ? EVP_aes_128_ecb() : EVP_aes_256_ecb();
  const int encrypt = direction == Direction::Encrypt ? 1 : 0;
  if (!context ||
      EVP_CipherInit_ex(context.get(), cipher, nullptr, BenchKey().data(), nullptr, encrypt) != 1 ||
      EVP_CIPHER_CTX_set_padding(context.get(), 0) != 1)
    return nullptr;
  return context;
}

// The path measured as "hardware"; none where the processor has no AES instructions.
std::optional<CipherPath> HardwarePath() {
  if (lockvale::ActiveCipherPath() != CipherPath::Portable) return lockvale::ActiveCipherPath();
  for (CipherPath path : {CipherPath::Vaes512, CipherPath::Vaes256, CipherPath::AesNi})
    if (lockvale::CipherPathSupported(path) && lockvale::CipherPathSelfTest(path)) return path;
  return std::nullopt;
}

void OurPath(benchmark::State& state, Case c, CipherPath path) {
  Buffer buffer(c.bytes);
  BlockCipher cipher(path);
  cipher.InstallKey(BenchKey(), c.keyBits);
  const std::size_t blocks = c.bytes / BlockCipher::BlockSize;
  std::uint8_t* data = buffer.Data();
  for (auto _ : state) {
    if (c.direction == Direction::Encrypt)
      cipher.EncryptBlocks(data, data, blocks);
    else
      cipher.DecryptBlocks(data, data, blocks);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(c.bytes));
  state.SetLabel(lockvale::CipherPathName(path));
}

void OpenSsl(benchmark::State& state, Case c) {
  Buffer buffer(c.bytes);
  Context context = OpenSslContext(c.keyBits, c.direction);
  if (!context) {
    state.SkipWithError("OpenSSL could not set up the cipher");
    return;
  }
  const int length = static_cast<int>(c.bytes);
  std::uint8_t* data = buffer.Data();
  for (auto _ : state) {
    int written = 0;
    if (EVP_CipherUpdate(context.get(), data, &written, data, length) != 1 || written != length) {
      state.SkipWithError("EVP_CipherUpdate failed");
      break;
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(c.bytes));
  state.SetLabel(std::string("openssl ") + OpenSSL_version(OPENSSL_VERSION_STRING));
}

// Every measured path must produce OpenSSL's ciphertext and undo it, or the
// comparison means nothing.
bool PathsAgreeWithOpenSsl(const std::vector<CipherPath>& paths) {
  constexpr std::size_t kBytes = 16 * 77;  // passes through every pipeline width and tail
  Buffer plain(kBytes);
  for (int keyBits : {128, 256}) {
    std::vector<std::uint8_t> expected(kBytes);
    Context context = OpenSslContext(keyBits, Direction::Encrypt);
    int written = 0;
    if (!context || EVP_CipherUpdate(context.get(), expected.data(), &written, plain.Data(),
                                     static_cast<int>(kBytes)) != 1)
      return false;
    for (CipherPath path : paths) {
      BlockCipher cipher(path);
      cipher.InstallKey(BenchKey(), keyBits);
      std::vector<std::uint8_t> data(plain.Data(), plain.Data() + kBytes);
      cipher.EncryptBlocks(data.data(), data.data(), kBytes / BlockCipher::BlockSize);
      bool same = data == expected;
      cipher.DecryptBlocks(data.data(), data.data(), kBytes / BlockCipher::BlockSize);
      same = same && std::memcmp(data.data(), plain.Data(), kBytes) == 0;
      if (!same) {
        std::fprintf(stderr, "lockvale_bench: the %s path disagrees with OpenSSL (%d-bit key)\n",
                     lockvale::CipherPathName(path), keyBits);
        return false;
      }
    }
  }
  return true;
}

void PrintCipherPaths() {
  std::printf("active: %s\nsupported:", lockvale::CipherPathName(lockvale::ActiveCipherPath()));
  for (CipherPath path : kHardwarePaths)
    if (lockvale::CipherPathSupported(path)) std::printf(" %s", lockvale::CipherPathName(path));
  std::printf(" portable\n");
  const std::optional<CipherPath> hardware = HardwarePath();
  std::printf("hardware column: %s\n", hardware ? lockvale::CipherPathName(*hardware) : "none");
}

std::string Name(const Case& c, const char* implementation) {
  return std::string(c.direction == Direction::Encrypt ? "encrypt/" : "decrypt/") +
         std::to_string(c.keyBits) + "/" + c.sizeName + "/" + implementation;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--cipher-paths") == 0) {
      PrintCipherPaths();
      return 0;
    }
  }

  const std::optional<CipherPath> hardware = HardwarePath();
  std::vector<CipherPath> checked{CipherPath::Portable};
  for (CipherPath path : kHardwarePaths)
    if (lockvale::CipherPathSupported(path)) checked.push_back(path);
  if (!PathsAgreeWithOpenSsl(checked)) return 1;

  benchmark::AddCustomContext("lockvale_active_path",
                              lockvale::CipherPathName(lockvale::ActiveCipherPath()));
  if (hardware)
    benchmark::AddCustomContext("lockvale_hardware_path", lockvale::CipherPathName(*hardware));

  struct Size {
    std::size_t bytes;
    const char* name;
  };
  // 16 KiB stays in the first-level cache; 4,000,000 bytes is the largest
  // chunk the file format works in and lives in the last-level cache or memory.
  constexpr Size kSizes[] = {{16 * 1024, "16KiB"}, {lockvale::cEncrypt::MaxFileChunkSize, "4MB"}};
  for (Direction direction : {Direction::Encrypt, Direction::Decrypt}) {
    for (int keyBits : {128, 256}) {
      for (const Size& size : kSizes) {
        const Case c{direction, keyBits, size.bytes, size.name};
        if (hardware)
          benchmark::RegisterBenchmark(Name(c, "hardware").c_str(), OurPath, c, *hardware);
        for (CipherPath path : kHardwarePaths)
          if (lockvale::CipherPathSupported(path))
            benchmark::RegisterBenchmark(Name(c, lockvale::CipherPathName(path)).c_str(), OurPath,
                                         c, path);
        benchmark::RegisterBenchmark(Name(c, "table").c_str(), OurPath, c, CipherPath::Portable);
        benchmark::RegisterBenchmark(Name(c, "openssl").c_str(), OpenSsl, c);
      }
    }
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
