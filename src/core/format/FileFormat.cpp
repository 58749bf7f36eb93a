#include "format/FileFormat.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "format/WriteBehind.h"
#include "format/cEncrypt.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

constexpr std::size_t kBlock = BlockCipher::BlockSize;

// Files go through a buffer that stays in the processor's cache between the read,
// the transform and the write; the format does not see the chunking.
constexpr std::size_t kWorkingChunkSize = 1 << 20;
static_assert(kWorkingChunkSize % kBlock == 0 && kWorkingChunkSize <= cEncrypt::MaxFileChunkSize);

// A second thread pays off only when there are several chunks to overlap.
bool WorthOverlapping(std::uint64_t size) {
  return size > 2 * kWorkingChunkSize;
}

[[noreturn]] void ThrowSourceShrank() {
  throw std::system_error(std::make_error_code(std::errc::io_error),
                          "The file became shorter while it was being read");
}

}  // namespace

// Chunks no larger than the file, so that a small file costs little memory to fill and wipe.
std::size_t ChunkFor(std::uint64_t size) {
  const std::uint64_t blocks = std::max<std::uint64_t>(1, (size + kBlock - 1) / kBlock);
  return static_cast<std::size_t>(std::min<std::uint64_t>(kWorkingChunkSize, blocks * kBlock));
}

FormatResult EncryptFile(const FormatContext& context, ByteSource& plaintext,
                         ByteSink& ciphertext) {
  const std::uint64_t size = plaintext.Size();
  const std::size_t chunk = ChunkFor(size);
  WriteBehind output(ciphertext, chunk + kBlock, WorthOverlapping(size));
  for (std::uint64_t offset = 0;; offset += chunk) {
    if (context.CancelRequested()) return {FormatResult::Cancelled, offset};
    std::uint8_t* data = output.Acquire();
    const std::size_t got = plaintext.Read(data, chunk);
    if (got < chunk) {
      if (offset + got < size) ThrowSourceShrank();
      // The final block: the remaining bytes, zeros, and their count.
      const std::size_t remainder = got % kBlock;
      const std::size_t last = got - remainder + kBlock;
      std::memset(data + got, 0, last - got);
      data[last - 1] = static_cast<std::uint8_t>(remainder);
      context.Transform(true, data, last, offset);
      output.Submit(last);
      output.Finish();
      return {};
    }
    context.Transform(true, data, got, offset);
    output.Submit(got);
  }
}

FormatResult CheckCiphertextSize(std::uint64_t size) {
  if (size != 0 && size % kBlock == 0) return {};
  return {FormatResult::RaggedCiphertext, size - size % kBlock};
}

FormatResult CheckCiphertext(const FormatContext& context, ByteSource& ciphertext) {
  const std::uint64_t size = ciphertext.Size();
  if (const FormatResult refused = CheckCiphertextSize(size); refused.kind != FormatResult::Done)
    return refused;
  std::uint8_t last[kBlock];
  if (ciphertext.ReadAt(size - kBlock, last, kBlock) != kBlock) ThrowSourceShrank();
  context.cipher.DecryptBlocks(last, last, 1);
  const std::size_t L = last[kBlock - 1];
  SecureWipe(last, kBlock);
  if (L >= kBlock) return {FormatResult::BadLengthByte, size - 1};
  return {};
}

FormatResult DecryptFile(const FormatContext& context, ByteSink& plaintext,
                         ByteSource& ciphertext) {
  if (const FormatResult refused = CheckCiphertext(context, ciphertext);
      refused.kind != FormatResult::Done)
    return refused;
  const std::uint64_t size = ciphertext.Size();
  WriteBehind output(plaintext, ChunkFor(size), WorthOverlapping(size));
  for (std::uint64_t offset = 0;; offset += kWorkingChunkSize) {
    if (context.CancelRequested()) return {FormatResult::Cancelled, offset};
    std::uint8_t* data = output.Acquire();
    const auto want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kWorkingChunkSize, size - offset));
    if (ciphertext.Read(data, want) != want) ThrowSourceShrank();
    context.Transform(false, data, want, offset);
    if (offset + want < size) {
      output.Submit(want);
      continue;
    }
    const std::size_t L = data[want - 1];
    if (L >= kBlock) return {FormatResult::BadLengthByte, size - 1};
    output.Submit(want - kBlock + L);
    output.Finish();
    return {};
  }
}

}  // namespace lockvale
