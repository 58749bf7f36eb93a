#pragma once

#include <cstddef>
#include <cstdint>

#include "cipher/KeySchedule.h"

namespace lockvale {

// The implementations of the block transform, best last.
enum class CipherPath { Portable, AesNi, Vaes256, Vaes512 };

// Bulk ECB over whole 16-byte blocks; `in` and `out` may be the same buffer.
using BlockFunction = void (*)(const KeySchedule&, const std::uint8_t* in, std::uint8_t* out,
                               std::size_t blocks);

struct BlockFunctions {
  BlockFunction encrypt;
  BlockFunction decrypt;
};

const char* CipherPathName(CipherPath path);
bool CipherPathSupported(CipherPath path);
BlockFunctions BlockFunctionsFor(CipherPath path);

// The path every new cipher object uses, chosen once per process: the best one
// this processor supports that passes a known-answer self-test, unless
// LOCKVALE_CIPHER=portable forces the table-driven code.
CipherPath ActiveCipherPath();

// Runs the known-answer test on one path; the benchmark uses it to vet the paths it times.
bool CipherPathSelfTest(CipherPath path);

}  // namespace lockvale
