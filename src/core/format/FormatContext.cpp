#include "format/FormatContext.h"

#include <algorithm>

namespace lockvale {
namespace {

constexpr std::size_t kProgressSlice = 64 * 1024;

}  // namespace

void FormatContext::Transform(bool encrypt, std::uint8_t* data, std::size_t size,
                              std::uint64_t fileOffset) const {
  constexpr std::size_t kBlock = BlockCipher::BlockSize;
  for (std::size_t done = 0; done < size;) {
    const std::size_t slice = std::min(kProgressSlice, size - done);
    if (encrypt)
      cipher.EncryptBlocks(data + done, data + done, slice / kBlock);
    else
      cipher.DecryptBlocks(data + done, data + done, slice / kBlock);
    done += slice;
    if (progress) progress(fileOffset + done - kBlock);
  }
}

}  // namespace lockvale
