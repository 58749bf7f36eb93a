#include "format/cEncrypt.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "cipher/BlockPaths.h"
#include "cipher/KeyBytes.h"
#include "cipher/RijndaelTables.h"
#include "format/BufferFormat.h"
#include "format/FileFormat.h"
#include "util/AtomicOutputFile.h"
#include "util/InputFile.h"
#include "util/RaisedError.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

std::uint32_t LoadKeyWord(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
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
  const RijndaelTables& T = RijndaelTables::Instance();
  auto S = [&T](std::uint32_t byte) { return T.Te4[byte & 0xFF] & 0xFF; };
  for (int i = 0; i < Nk; ++i)
    fkey[i] = LoadKeyWord(&pass[4 * i]);
  const int total = 4 * (rounds + 1);
  for (int i = Nk; i < total; ++i) {
    std::uint32_t t = fkey[i - 1];
    if (i % Nk == 0) {
      t = (S(t >> 8) | S(t >> 16) << 8 | S(t >> 24) << 16 | S(t) << 24) ^ T.rco[i / Nk - 1];
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
  const RijndaelTables& T = RijndaelTables::Instance();
  for (int i = Nb; i < Nb * Nr; ++i) {
    std::uint32_t w = m_Key.rkey[i];
    m_Key.rkey[i] = T.Td0[T.Te4[w & 0xFF] & 0xFF] ^ T.Td1[T.Te4[(w >> 8) & 0xFF] & 0xFF] ^
                    T.Td2[T.Te4[(w >> 16) & 0xFF] & 0xFF] ^ T.Td3[T.Te4[w >> 24] & 0xFF];
  }
}

void cEncrypt::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
  // Without a key the schedule is all zeros and only the table code defines the result.
  (m_Key.Nr == 0 ? PortableEncryptBlocks : m_Blocks.encrypt)(m_Key, in, out, blocks);
}

void cEncrypt::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const {
  (m_Key.Nr == 0 ? PortableDecryptBlocks : m_Blocks.decrypt)(m_Key, in, out, blocks);
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

FormatContext cEncrypt::Context() const {
  return {*this, m_Notifier, m_Progress};
}

int cEncrypt::ArrayEncrypt(std::span<const std::uint8_t> plaintext,
                           std::vector<std::uint8_t>& ciphertext, int appendsize) {
  return EncryptBuffer(Context(), plaintext, ciphertext, appendsize != 0);
}

int cEncrypt::ArrayDecrypt(std::vector<std::uint8_t>& plaintext,
                           std::span<const std::uint8_t> ciphertext, int appendsize) {
  return DecryptBuffer(Context(), plaintext, ciphertext, appendsize != 0);
}

int cEncrypt::FileEncrypt(ByteSource& plaintext, ByteSink& ciphertext) {
  m_ErrorHappened = false;
  return EncryptFile(Context(), plaintext, ciphertext);
}

int cEncrypt::FileDecrypt(ByteSink& plaintext, ByteSource& ciphertext) {
  m_ErrorHappened = false;
  const int status = DecryptFile(Context(), plaintext, ciphertext);
  m_ErrorHappened = status != FileOk;
  return status;
}

bool cEncrypt::AcceptCiphertextSize(std::uint64_t size) {
  if (CiphertextSizeAccepted(Context(), size)) return true;
  m_ErrorHappened = true;
  return false;
}

// The named forms write as the file job does: nothing stands under the destination's name
// until the whole result is there, and a failure leaves an existing file as it was.
int cEncrypt::FileEncrypt(const std::string& PlaintextFileName,
                          const std::string& CiphertextFileName) {
  InputFile source(PlaintextFileName);
  AtomicOutputFile destination(CiphertextFileName, source.PermissionBits());
  const int status = FileEncrypt(source, destination);
  if (status == FileOk) destination.Commit(true);
  return status;
}

int cEncrypt::FileDecrypt(const std::string& PlaintextFileName,
                          const std::string& CiphertextFileName) {
  m_ErrorHappened = false;
  InputFile source(CiphertextFileName);
  if (!AcceptCiphertextSize(source.Size())) return FileSizeError;  // nothing created
  AtomicOutputFile destination(PlaintextFileName, source.PermissionBits());
  const int status = FileDecrypt(destination, source);
  if (status == FileOk) destination.Commit(true);
  return status;
}

}  // namespace lockvale
