#include "cipher/BlockCipher.h"

#include "cipher/BlockPaths.h"
#include "cipher/RijndaelTables.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

std::uint32_t LoadKeyWord(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Rounds for a key size, 0 for a size AES does not have.
int RoundsFor(int keyBits) {
  return keyBits == 128 || keyBits == 192 || keyBits == 256 ? 6 + keyBits / 32 : 0;
}

}  // namespace

BlockCipher::BlockCipher() : BlockCipher(ActiveCipherPath()) {}

BlockCipher::BlockCipher(CipherPath path) : m_Path(path), m_Blocks(BlockFunctionsFor(path)) {}

BlockCipher::~BlockCipher() {
  SecureWipe(&m_Key, sizeof m_Key);
}

bool BlockCipher::InstallKey(std::span<const std::uint8_t> key, int keyBits) {
  const int rounds = RoundsFor(keyBits), Nk = keyBits / 32;
  if (rounds == 0 || key.size() < static_cast<std::size_t>(4 * Nk)) return false;
  SecureWipe(&m_Key, sizeof m_Key);
  auto& fkey = m_Key.fkey;
  const RijndaelTables& T = RijndaelTables::Instance();
  auto S = [&T](std::uint32_t byte) { return T.Te4[byte & 0xFF] & 0xFF; };
  for (int i = 0; i < Nk; ++i)
    fkey[i] = LoadKeyWord(&key[4 * i]);
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
  CreateDecryptionKeys();
  return true;
}

void BlockCipher::CreateDecryptionKeys() {
  constexpr int Nb = 4;
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

void BlockCipher::EncryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                std::size_t blocks) const {
  // Without a key the schedule is all zeros and only the table code defines the result.
  (m_Key.Nr == 0 ? PortableEncryptBlocks : m_Blocks.encrypt)(m_Key, in, out, blocks);
}

void BlockCipher::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                std::size_t blocks) const {
  (m_Key.Nr == 0 ? PortableDecryptBlocks : m_Blocks.decrypt)(m_Key, in, out, blocks);
}

}  // namespace lockvale
