#include "format/FileFormat.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "format/WriteBehind.h"

namespace lockvale {
namespace {

constexpr std::size_t kBlock = cEncrypt::BlockSize;

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

int EncryptFile(const FormatContext& context, ByteSource& plaintext, ByteSink& ciphertext) {
  const std::uint64_t size = plaintext.Size();
  const std::size_t chunk = ChunkFor(size);
  WriteBehind output(ciphertext, chunk + kBlock, WorthOverlapping(size));
  for (std::uint64_t offset = 0;; offset += chunk) {
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
      return cEncrypt::FileOk;
    }
    context.Transform(true, data, got, offset);
    output.Submit(got);
  }
}

bool CiphertextSizeAccepted(const FormatContext& context, std::uint64_t size) {
  if (size != 0 && size % kBlock == 0) return true;
  context.Notify("File Size Error - ciphertext file not a multiple of block size", "Size");
  return false;
}

int DecryptFile(const FormatContext& context, ByteSink& plaintext, ByteSource& ciphertext) {
  const std::uint64_t size = ciphertext.Size();
  if (!CiphertextSizeAccepted(context, size)) return cEncrypt::FileSizeError;
  WriteBehind output(plaintext, ChunkFor(size), WorthOverlapping(size));
  for (std::uint64_t offset = 0;; offset += kWorkingChunkSize) {
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
    if (L >= kBlock) {
      context.Notify("Warning - incorrect length field in decrypted file.\r\nWrong key or keysize?",
                     "Error");
      return cEncrypt::FileLengthError;
    }
    output.Submit(want - kBlock + L);
    output.Finish();
    return cEncrypt::FileOk;
  }
}

}  // namespace lockvale
