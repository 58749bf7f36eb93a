#pragma once

#include "cipher/CipherPath.h"

// The block transforms of each path. The hardware ones exist only on x86-64, are
// compiled with their instruction sets enabled (see src/CMakeLists.txt) and must be
// called only where CipherPathSupported() says so.
namespace lockvale {

void PortableEncryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                           std::size_t blocks);
void PortableDecryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                           std::size_t blocks);

#if defined(__x86_64__)
void AesNiEncryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks);
void AesNiDecryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                        std::size_t blocks);
void Vaes256EncryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks);
void Vaes256DecryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks);
void Vaes512EncryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks);
void Vaes512DecryptBlocks(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                          std::size_t blocks);
#endif

}  // namespace lockvale
