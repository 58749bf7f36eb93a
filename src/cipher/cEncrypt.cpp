#include "cipher/cEncrypt.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <system_error>

#include "cipher/BlockPaths.h"
#include "cipher/KeyBytes.h"
#include "cipher/WriteBehind.h"
#include "util/InputFile.h"
#include "util/OutputFile.h"
#include "util/RaisedError.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

// Files go through a buffer that stays in the processor's cache between the
// read, the transform and the write; the format does not see the chunking.
constexpr std::size_t kWorkingChunkSize = 1 << 20;
static_assert(kWorkingChunkSize % cEncrypt::BlockSize == 0 &&
              kWorkingChunkSize <= cEncrypt::MaxFileChunkSize);
constexpr std::size_t kProgressSlice = 64 * 1024;

// A second thread pays off only when there are several chunks to overlap.
bool WorthOverlapping(std::uint64_t size) {
  return size > 2 * kWorkingChunkSize;
}

std::uint32_t LoadKeyWord(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

[[noreturn]] void ThrowSourceShrank() {
  throw std::system_error(std::make_error_code(std::errc::io_error),
                          "The file became shorter while it was being read");
}

void CheckBlock(std::size_t size, std::size_t offset) {
  if (offset > size || size - offset < cEncrypt::BlockSize)
    throw std::out_of_range("Subscript out of range");
}

}  // namespace

cEncrypt::cEncrypt() : cEncrypt(ActiveCipherPath()) {}

cEncrypt::cEncrypt(CipherPath path) : m_Path(path), m_Blocks(BlockFunctionsFor(path)) {}

cEncrypt::~cEncrypt() {
  SecureWipe(&m_Key, sizeof m_Key);
}

int cEncrypt::SetCipherKey(std::span<const std::uint8_t> pass, int KeyBits) {
  int Nk = 0, rounds = 0;
  switch (KeyBits) {
    case 128:
      Nk = 4, rounds = 10;
      break;
    case 192:
      Nk = 6, rounds = 12;
      break;
    case 256:
      Nk = 8, rounds = 14;
      break;
    default:
      throw RaisedError(1, "cEncrypt.SetCipherKey - Illegal KeyBits Value");
  }
  if (pass.size() < static_cast<std::size_t>(4 * Nk))
    throw std::out_of_range("Subscript out of range");

  SecureWipe(&m_Key, sizeof m_Key);
  auto& fkey = m_Key.fkey;
  auto S = [this](std::uint32_t byte) { return m_Tables.Te4[byte & 0xFF] & 0xFF; };
  for (int i = 0; i < Nk; ++i)
    fkey[i] = LoadKeyWord(&pass[4 * i]);
  const int total = 4 * (rounds + 1);
  for (int i = Nk; i < total; ++i) {
    std::uint32_t t = fkey[i - 1];
    if (i % Nk == 0) {
      t = (S(t >> 8) | S(t >> 16) << 8 | S(t >> 24) << 16 | S(t) << 24) ^ m_Tables.rco[i / Nk - 1];
    } else if (Nk == 8 && i % 8 == 4) {
      t = S(t) | S(t >> 8) << 8 | S(t >> 16) << 16 | S(t >> 24) << 24;
    }
    fkey[i] = fkey[i - Nk] ^ t;
  }
  m_Key.Nr = rounds;
  CreateDecryptionKeys(4);
  return 0;
}

int cEncrypt::SetCipherKeyString(std::string_view PassPhrase, int KeyBits) {
  KeyBytes key(PassPhrase);
  return SetCipherKey(key.Bytes(), KeyBits);
}

void cEncrypt::CreateDecryptionKeys(int Nb) {
  const int Nr = m_Key.Nr;
  for (int k = 0; k <= Nr; ++k)
    for (int j = 0; j < Nb; ++j)
      m_Key.rkey[Nb * k + j] = m_Key.fkey[Nb * (Nr - k) + j];
  const auto& T = m_Tables;
  for (int i = Nb; i < Nb * Nr; ++i) {
    std::uint32_t w = m_Key.rkey[i];
    m_Key.rkey[i] = T.Td0[T.Te4[w & 0xFF] & 0xFF] ^ T.Td1[T.Te4[(w >> 8) & 0xFF] & 0xFF] ^
                    T.Td2[T.Te4[(w >> 16) & 0xFF] & 0xFF] ^ T.Td3[T.Te4[w >> 24] & 0xFF];
  }
}

void cEncrypt::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
  // Without a key the schedule is all zeros and only the table code defines the result.
  (m_Key.Nr == 0 ? PortableEncryptBlocks : m_Blocks.encrypt)(m_Key, m_Tables, in, out, blocks);
}

void cEncrypt::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
  (m_Key.Nr == 0 ? PortableDecryptBlocks : m_Blocks.decrypt)(m_Key, m_Tables, in, out, blocks);
}

void cEncrypt::BlockEncrypt(std::span<const std::uint8_t> plaintext,
                            std::span<std::uint8_t> ciphertext, std::size_t p,
                            std::size_t q) const {
  CheckBlock(plaintext.size(), p);
  CheckBlock(ciphertext.size(), q);
  std::uint8_t block[BlockSize];
  std::memcpy(block, &plaintext[p], BlockSize);  // the two may overlap
  EncryptBlocks(block, block, 1);
  std::memcpy(&ciphertext[q], block, BlockSize);
}

void cEncrypt::BlockDecrypt(std::span<std::uint8_t> plaintext,
                            std::span<const std::uint8_t> ciphertext, std::size_t p,
                            std::size_t q) const {
  CheckBlock(plaintext.size(), p);
  CheckBlock(ciphertext.size(), q);
  std::uint8_t block[BlockSize];
  std::memcpy(block, &ciphertext[q], BlockSize);
  DecryptBlocks(block, block, 1);
  std::memcpy(&plaintext[p], block, BlockSize);
}

void cEncrypt::ReportProgress(std::uint64_t offset) const {
  if (m_Progress) m_Progress(offset);
}

void cEncrypt::TransformChunk(bool encrypt, std::uint8_t* data, std::size_t size,
                              std::uint64_t fileOffset) const {
  for (std::size_t done = 0; done < size;) {
    std::size_t slice = std::min(kProgressSlice, size - done);
    if (encrypt)
      EncryptBlocks(data + done, data + done, slice / BlockSize);
    else
      DecryptBlocks(data + done, data + done, slice / BlockSize);
    done += slice;
    ReportProgress(fileOffset + done - BlockSize);
  }
}

void cEncrypt::Notify(const char* text, const char* title) {
  if (m_Notifier) m_Notifier->Notify(text, title, NoticeIcon::Information);
}

int cEncrypt::ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                           std::vector<std::uint8_t>& ciphertext, int appendsize) {
  const std::size_t n = plaintext.size();
  const std::size_t m = (n + (appendsize ? BlockSize : BlockSize - 1)) & ~(BlockSize - 1);
  std::vector<std::uint8_t> result(m, 0);
  std::copy(plaintext.begin(), plaintext.end(), result.begin());
  if (appendsize) result[m - 1] = static_cast<std::uint8_t>(n % BlockSize);
  TransformChunk(true, result.data(), m, 0);
  ciphertext = std::move(result);
  return 0;
}

int cEncrypt::ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                           std::span<const std::uint8_t> ciphertext, int appendsize) {
  const std::size_t n = ciphertext.size();
  // An empty buffer cannot carry a length byte, so it is refused like a ragged one.
  if (n % BlockSize != 0 || (appendsize && n == 0)) {
    Notify("Ciphertext size not a multiple of block size", "Size");
    return -1;
  }
  std::vector<std::uint8_t> result(ciphertext.begin(), ciphertext.end());
  TransformChunk(false, result.data(), n, 0);
  int status = 0;
  if (appendsize) {
    std::size_t L = result[n - 1];
    if (L < BlockSize) {
      if (n - BlockSize + L > 0) result.resize(n - BlockSize + L);
    } else {
      Notify("Warning - Incorrect length field", "Length");
      status = 1;
    }
  }
  plaintext = std::move(result);
  return status;
}

int cEncrypt::FileEncrypt(ByteSource& plaintext, ByteSink& ciphertext) {
  m_ErrorHappened = false;
  WriteBehind output(ciphertext, kWorkingChunkSize + BlockSize, WorthOverlapping(plaintext.Size()));
  for (std::uint64_t offset = 0;; offset += kWorkingChunkSize) {
    std::uint8_t* data = output.Acquire();
    std::size_t got = plaintext.Read(data, kWorkingChunkSize);
    if (got < kWorkingChunkSize) {
      // The final block: the remaining bytes, zeros, and their count.
      std::size_t remainder = got % BlockSize;
      std::size_t size = got - remainder + BlockSize;
      std::memset(data + got, 0, size - got);
      data[size - 1] = static_cast<std::uint8_t>(remainder);
      TransformChunk(true, data, size, offset);
      output.Submit(size);
      output.Finish();
      return FileOk;
    }
    TransformChunk(true, data, got, offset);
    output.Submit(got);
  }
}

bool cEncrypt::AcceptCiphertextSize(std::uint64_t size) {
  if (size != 0 && size % BlockSize == 0) return true;
  Notify("File Size Error - ciphertext file not a multiple of block size", "Size");
  m_ErrorHappened = true;
  return false;
}

int cEncrypt::FileDecrypt(ByteSink& plaintext, ByteSource& ciphertext) {
  m_ErrorHappened = false;
  const std::uint64_t size = ciphertext.Size();
  if (!AcceptCiphertextSize(size)) return FileSizeError;
  WriteBehind output(plaintext, kWorkingChunkSize, WorthOverlapping(size));
  for (std::uint64_t offset = 0;; offset += kWorkingChunkSize) {
    std::uint8_t* data = output.Acquire();
    std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWorkingChunkSize, size - offset));
    if (ciphertext.Read(data, want) != want) ThrowSourceShrank();
    TransformChunk(false, data, want, offset);
    if (offset + want < size) {
      output.Submit(want);
      continue;
    }
    std::size_t L = data[want - 1];
    if (L >= BlockSize) {
      Notify("Warning - incorrect length field in decrypted file.\r\nWrong key or keysize?",
             "Error");
      m_ErrorHappened = true;
      return FileLengthError;
    }
    output.Submit(want - BlockSize + L);
    output.Finish();
    return FileOk;
  }
}

int cEncrypt::FileEncrypt(const std::string& PlaintextFileName,
                          const std::string& CiphertextFileName) {
  InputFile source(PlaintextFileName);
  OutputFile destination(CiphertextFileName);
  int status = FileEncrypt(source, destination);
  destination.Close();
  return status;
}

int cEncrypt::FileDecrypt(const std::string& PlaintextFileName,
                          const std::string& CiphertextFileName) {
  m_ErrorHappened = false;
  InputFile source(CiphertextFileName);
  if (!AcceptCiphertextSize(source.Size())) return FileSizeError;  // nothing created
  OutputFile destination(PlaintextFileName);
  int status = FileDecrypt(destination, source);
  destination.Close();
  return status;
}

}  // namespace lockvale
