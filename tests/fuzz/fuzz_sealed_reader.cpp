// Any bytes as a sealed file, read under the known-answer file's key: never a crash, a refusal
// before the chunks writes nothing, nothing is written from the chunk found damaged on, and a file
// read to the end is exactly what sealing its plaintext under its own header writes again.

#include <algorithm>

#include "FuzzSupport.h"
#include "format/SealedFormat.h"
#include "util/MemoryStream.h"

using namespace lockvale;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr KdfSettings kLight{1, 8, 1};
  MemorySource source({data, size});
  MemorySink plain;
  SealedReader reader(source);
  SealedResult result = reader.ReadHeader();
  const SealedHeader& header = reader.Header();
  // Only light settings are derived: an input may not ask for gigabytes.
  if (result.status == SealedStatus::Ok && header.settings != kLight) return 0;
  SealedKeyring keys("Gr\u00fc\u00dfe", kLight);  // one per input: each salt is derived anew
  if (result.status == SealedStatus::Ok)
    result = reader.Unlock(keys.Secret(header.salt, header.settings));
  if (result.status == SealedStatus::Ok) result = reader.Open(plain);
  if (result.status == SealedStatus::Damaged)
    FUZZ_CHECK(result.damagedAt <= size &&
               (plain.bytes.empty() || kSealedHeaderSize + plain.bytes.size() <= result.damagedAt));
  else
    FUZZ_CHECK(plain.bytes.empty() || result.status == SealedStatus::Ok);
  if (result.status != SealedStatus::Ok) return 0;
  MemorySource again(plain.bytes);
  MemorySink resealed;
  FUZZ_CHECK(SealFile(header, keys.Secret(header.salt, kLight), again, resealed) == SealedResult{});
  FUZZ_CHECK(std::ranges::equal(resealed.bytes, std::span(data, size)));
  return 0;
}
