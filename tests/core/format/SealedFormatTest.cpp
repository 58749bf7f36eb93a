// The sealed format: its keys against published and reference values, the files it writes
// against OpenSSL's reading of the format and a known-answer file, and every refusal.

#include <gtest/gtest.h>
#include <sodium.h>

#ifndef LOCKVALE_TEST_WITHOUT_OPENSSL
#include <openssl/hmac.h>
#endif

#include <functional>

#include "TestSupport.h"
#include "format/SealedFormat.h"
#include "util/MemoryStream.h"

using namespace lockvale::test;

namespace {

constexpr KdfSettings kLight{1, 8, 1};
constexpr std::size_t kStored = kSealedChunkSize + kSealedTagSize, kTwoChunks = 88 + 2 * kStored;
const std::string kKey = "Gr\u00fc\u00dfe";  // "Grüße" in NFC
const KdfSalt kSalt{'l', 'o', 'c', 'k', 'v', 'a', 'l', 'e', '-', 'k', 'a', 't', '-', 's', 'l', 't'};

Bytes Hex(std::string_view hex) {
  Bytes bytes(hex.size() / 2);
  sodium_hex2bin(bytes.data(), bytes.size(), hex.data(), hex.size(), nullptr, nullptr, nullptr);
  return bytes;
}

Bytes Counting(std::size_t size, int from = 0, int modulo = 251) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>((from + i) % modulo);
  return bytes;
}

SealedResult Open(SealedKeyring& keys, const Bytes& sealed, Bytes& plain,
                  const SealedControl& control = {}) {
  MemorySource source(sealed);
  MemorySink sink;
  const SealedResult result = OpenSealedFile(keys, source, sink, control);
  plain = sink.bytes;
  return result;
}

Bytes Seal(const std::function<SealedResult(ByteSource&, ByteSink&)>& seal, const Bytes& plain) {
  MemorySource source(plain);
  MemorySink sink;
  EXPECT_EQ(seal(source, sink), SealedResult{});
  return sink.bytes;
}

#ifndef LOCKVALE_TEST_WITHOUT_OPENSSL
// RFC 5869 for 32 bytes: extract, then one block of expand.
Bytes OpenSslHkdf(const SecretBytes& secret, const Bytes& salt, std::string info) {
  Bytes pseudorandomKey(32), key(32);
  HMAC(EVP_sha256(), salt.data(), 16, secret.Data(), 32, pseudorandomKey.data(), nullptr);
  info += '\x01';
  HMAC(EVP_sha256(), pseudorandomKey.data(), 32, reinterpret_cast<std::uint8_t*>(info.data()),
       info.size(), key.data(), nullptr);
  return key;
}

// The format as its layout tells it, written with OpenSSL from the file's own header fields.
Bytes OpenSslSealed(const SecretBytes& secret, const Bytes& sealed, const Bytes& plain) {
  Bytes file(sealed.begin(), sealed.begin() + 56), nonce(sealed.begin() + 40, sealed.begin() + 56);
  const Bytes headerKey = OpenSslHkdf(secret, nonce, "lockvale header");
  const Bytes payloadKey = OpenSslHkdf(secret, nonce, "lockvale payload");
  file.resize(88);
  HMAC(EVP_sha256(), headerKey.data(), 32, file.data(), 56, &file[56], nullptr);
  std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX*)> ctx(EVP_CIPHER_CTX_new(),
                                                                 EVP_CIPHER_CTX_free);
  for (std::size_t at = 0, chunk = 0; at < plain.size() || chunk == 0; at += 65536, ++chunk) {
    const int size = static_cast<int>(std::min<std::size_t>(65536, plain.size() - at));
    std::uint8_t chunkNonce[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, at + size == plain.size()};
    for (int i = 0; i < 8; ++i)
      chunkNonce[10 - i] = static_cast<std::uint8_t>(chunk >> (8 * i));
    Bytes sealedChunk(static_cast<std::size_t>(size) + 16);
    int written = 0;
    EVP_EncryptInit_ex(ctx.get(), EVP_chacha20_poly1305(), nullptr, payloadKey.data(), chunkNonce);
    EVP_EncryptUpdate(ctx.get(), sealedChunk.data(), &written, plain.data() + at, size);
    EVP_EncryptFinal_ex(ctx.get(), sealedChunk.data() + written, &written);
    EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_GET_TAG, 16, &sealedChunk[size]);
    file.insert(file.end(), sealedChunk.begin(), sealedChunk.end());
  }
  return file;
}
#endif

}  // namespace

// RFC 5869's SHA-256 cases 1 to 3, and Argon2id of a key typed decomposed: the reference
// implementation's output for the composed key. A keyring derives each salt and setting once.
TEST(SealedKeys, HkdfArgon2idNfcAndOneDerivationPerSalt) {
  const struct {
    Bytes key, salt, info;
    const char* expected;
  } rfc5869[] = {
      {Bytes(22, 0x0b), Counting(13), Counting(10, 0xf0, 256),
       "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865"},
      {Counting(80), Counting(80, 0x60, 256), Counting(80, 0xb0, 256),
       "b11e398dc80327a1c8e7f78c596a49344f012eda2d4efad8a050cc4c19afa97c59045a99cac7827271cb41c6"
       "5e590e09da3275600c2f09b8367793a9aca3db71cc30c58179ec3e87c14c01d5c1f3434f1d87"},
      {Bytes(22, 0x0b),
       {},
       {},
       "8da4e775a563c18f715f802a063c5a31b8a11f5c5ee1879ec3454e5f3c738d2d9d201395faa4b61a96c8"},
  };
  for (const auto& test : rfc5869) {
    Bytes out(Hex(test.expected).size());
    HkdfSha256(test.key, test.salt,
               {reinterpret_cast<const char*>(test.info.data()), test.info.size()}, out);
    EXPECT_EQ(out, Hex(test.expected));
  }
  SealedKeyring keys("Gru\u0308\u00dfe", kLight);
  EXPECT_FALSE(keys.Holds(kSalt, kLight));
  const SecretBytes& secret = keys.Secret(kSalt, kLight);
  EXPECT_EQ(Bytes(secret.View().begin(), secret.View().end()),
            Hex("9ca6d0c441ac5639f2463afdfc1ceef91409b750a6e2a043d7ebd0fdbfa7320e"));
  EXPECT_TRUE(keys.Holds(kSalt, kLight));
  EXPECT_EQ(&keys.Secret(kSalt, kLight), &secret);
}

// Written from the format's layout for a fixed salt, nonce and light settings; read back.
TEST(SealedFormat, KnownAnswerFile) {
  const Bytes plain = Counting(65'537), known = ReadFile(LOCKVALE_TEST_DATA "/known-answer.lkv");
  SealedKeyring keys(kKey, kLight);
  SealedHeader header{kLight, kSalt};
  std::ranges::copy(std::string_view("lockvale-nonce-1"), header.nonce.begin());
  const SecretBytes& secret = keys.Secret(kSalt, kLight);
  EXPECT_TRUE(Seal([&](auto& in, auto& out) { return SealFile(header, secret, in, out); }, plain) ==
              known);
  Bytes back;
  EXPECT_EQ(Open(keys, known, back), SealedResult{});
  EXPECT_TRUE(back == plain);
#ifndef LOCKVALE_TEST_WITHOUT_OPENSSL
  EXPECT_TRUE(OpenSslSealed(secret, known, plain) == known);
#endif
}

class SealedSizes : public ::testing::TestWithParam<std::size_t> {};

// Each size round trips, has the size the layout gives, and is what OpenSSL writes from the
// file's header; the files of one run share the salt but not the nonce. A changed last tag is
// found in the last chunk, whichever batch holds it.
TEST_P(SealedSizes, RoundTripAndLayout) {
  const std::size_t n = GetParam();
  const Bytes plain = RandomBytes(n, n);
  static SealedKeyring keys(kKey, kLight);
  std::vector<std::uint64_t> progress;
  const auto seal = [&](auto& in, auto& out) { return SealFile(keys, in, out); };
  Bytes sealed = Seal(seal, plain), back;
  EXPECT_EQ(sealed.size(), 88 + n + 16 * std::max<std::size_t>(1, (n + 65535) / 65536));
  const Bytes other = Seal(seal, {});
  EXPECT_TRUE(std::equal(&sealed[24], &sealed[40], &other[24]) &&
              !std::equal(&sealed[40], &sealed[56], &other[40]));
#ifndef LOCKVALE_TEST_WITHOUT_OPENSSL
  EXPECT_TRUE(OpenSslSealed(keys.Secret(keys.WritingSalt(), kLight), sealed, plain) == sealed);
#endif
  EXPECT_EQ(
      Open(keys, sealed, back, {nullptr, [&](std::uint64_t done) { progress.push_back(done); }}),
      SealedResult{});
  EXPECT_TRUE(back == plain);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()) && progress.back() == sealed.size());
  sealed.back() ^= 1;
  EXPECT_EQ(Open(keys, sealed, back).damagedAt, 88 + (sealed.size() - 89) / kStored * kStored);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SealedSizes,
                         ::testing::Values(0, 1, 65'535, 65'536, 65'537, 3 * 65'536 + 7, 1 << 20,
                                           (1 << 20) + 1, (5 << 20) + 3));

// Every refusal of a two-chunk file, in the order they are made; none writes a byte that was not
// verified, and a cancelled run stops.
TEST(SealedFormat, EveryRefusal) {
  const Bytes plain = RandomBytes(2 * 65'536, 7);
  SealedKeyring keys(kKey, kLight), wrong("Grüsse", kLight);
  const Bytes file = Seal([&](auto& in, auto& out) { return SealFile(keys, in, out); }, plain);
  using Change = std::function<void(Bytes&)>;
  const auto set = [](std::size_t at, std::uint32_t value, int bytes = 1) -> Change {
    return [=](Bytes& b) {
      for (int i = 0; i < bytes; ++i)
        b[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
    };
  };
  const auto flip = [](std::size_t at) -> Change { return [=](Bytes& b) { b[at] ^= 1; }; };
  const auto cut = [](std::size_t size) -> Change { return [=](Bytes& b) { b.resize(size); }; };
  const Change swapped = [](Bytes& b) {
    std::swap_ranges(&b[88], &b[88 + kStored], &b[88 + kStored]);
  };
  const Change duplicated = [&](Bytes& b) {
    b.insert(b.begin() + 88, &file[88], &file[88 + kStored]);
  };
  const Change emptyLastChunk =
      [&](Bytes& b) {  // chunk 1 sealed as not the last, then an empty one
        Bytes key(32), nonce(12);
        HkdfSha256(keys.Secret(keys.WritingSalt(), kLight).View(), Bytes(&b[40], &b[56]),
                   "lockvale payload", key);
        b.resize(kTwoChunks + 16);
        nonce[10] = 1;
        crypto_aead_chacha20poly1305_ietf_encrypt(&b[88 + kStored], nullptr, &plain[65'536], 65'536,
                                                  nullptr, 0, nullptr, nonce.data(), key.data());
        nonce[10] = 2, nonce[11] = 1;
        crypto_aead_chacha20poly1305_ietf_encrypt(&b[kTwoChunks], nullptr, nullptr, 0, nullptr, 0,
                                                  nullptr, nonce.data(), key.data());
      };
  using S = SealedStatus;
  const struct {
    const char* name;
    Change change;
    SealedResult expected;
    bool wrongKey = false;
  } cases[] = {
      {"no magic", flip(0), {S::NotSealed}},
      {"version 2", set(8, 2), {S::NewerVersion}},
      {"suite 2", set(9, 2), {S::NewerVersion}},
      {"flags", set(11, 1), {S::NewerVersion}},
      {"cut in the header", cut(87), {S::Damaged, 87}},
      {"no passes", set(12, 0, 4), {S::UnacceptedSettings}},
      {"65 passes", set(12, 65, 4), {S::UnacceptedSettings}},
      {"7 KiB", set(16, 7, 4), {S::UnacceptedSettings}},
      {"4 GiB and 1 KiB, not derived", set(16, 4'194'305, 4), {S::UnacceptedSettings}},
      {"2 lanes", set(20, 2, 4), {S::UnacceptedSettings}},
      {"other passes", set(12, 2, 4), {S::WrongKeyOrHeader}},
      {"salt", flip(30), {S::WrongKeyOrHeader}},
      {"nonce", flip(50), {S::WrongKeyOrHeader}},
      {"MAC", flip(87), {S::WrongKeyOrHeader}},
      {"wrong key", [](Bytes&) {}, {S::WrongKeyOrHeader}, true},
      {"nothing after the header", cut(88), {S::Damaged, 88}},
      {"ciphertext of chunk 1", flip(88 + kStored + 9), {S::Damaged, 88 + kStored}},
      {"tag of chunk 0", flip(88 + kStored - 1), {S::Damaged, 88}},
      {"cut in chunk 1", cut(88 + kStored + 100), {S::Damaged, 88 + kStored}},
      {"cut after chunk 0", cut(88 + kStored), {S::Damaged, 88 + kStored}},
      {"chunks swapped", swapped, {S::Damaged, 88}},
      {"chunk 0 twice", duplicated, {S::Damaged, 88 + kStored}},
      {"a byte after the last chunk", [](Bytes& b) { b.push_back(0); }, {S::Damaged, kTwoChunks}},
      {"an empty last chunk after others", emptyLastChunk, {S::Damaged, kTwoChunks}},
  };
  for (const auto& test : cases) {
    Bytes changed = file, out;
    test.change(changed);
    const SealedResult result = Open(test.wrongKey ? wrong : keys, changed, out);
    EXPECT_EQ(result, test.expected) << test.name;
    EXPECT_TRUE(std::equal(out.begin(), out.end(), plain.begin())) << test.name;
    EXPECT_TRUE(out.empty() || result.status == S::Damaged) << test.name;
  }
  const std::atomic<bool> cancel{true};
  Bytes out;
  EXPECT_EQ(Open(keys, file, out, {&cancel}).status, S::Cancelled);
  MemorySource source(plain);
  MemorySink sink;
  EXPECT_EQ(SealFile(keys, source, sink, {&cancel}).status, S::Cancelled);
}

// A read or a write that fails, on whichever thread takes it, ends the run with its error, and
// nothing is written after it.
TEST(SealedFormat, AFailedReadOrWriteComesBack) {
  struct Failing : MemorySource, MemorySink {
    using MemorySource::MemorySource;
    std::size_t Read(std::uint8_t* data, std::size_t size) override {
      return Count(reads) ? 0 : MemorySource::Read(data, size);
    }
    void Write(const std::uint8_t* data, std::size_t size) override {
      if (!Count(writes)) MemorySink::Write(data, size);
    }
    bool Count(int& calls) {
      if (++calls == failAt) throw std::system_error(std::make_error_code(std::errc::io_error));
      return false;
    }
    int reads = 0, writes = 0, failAt = 0;
  };
  SealedKeyring keys(kKey, kLight);
  const Bytes plain = RandomBytes((5 << 20) + 3, 11);
  const Bytes sealed = Seal([&](auto& in, auto& out) { return SealFile(keys, in, out); }, plain);
  for (const bool seal : {true, false}) {
    for (const int failAt : {1, 3, 5}) {
      Failing failing(seal ? plain : sealed);
      failing.failAt = failAt;
      EXPECT_THROW(seal ? SealFile(keys, failing, failing) : OpenSealedFile(keys, failing, failing),
                   std::system_error)
          << seal << failAt;
      EXPECT_LT(failing.writes, failAt) << seal << failAt;
    }
  }
}
