#include "format/SealedChunks.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <memory>

#include "format/ChunkWorkers.h"
#include "format/WriteBehind.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

constexpr std::size_t kChunk = kSealedChunkSize;
constexpr std::size_t kTag = kSealedTagSize;
constexpr std::size_t kStoredChunk = kChunk + kTag;
static_assert(kTag == crypto_aead_chacha20poly1305_ietf_ABYTES);
// A batch of 1 MiB stays in the processor's cache between the read, the cipher and the write.
constexpr std::size_t kBatchChunks = 16;

// Reads a source a batch of chunks at a time and one byte ahead, so that it knows which chunk is
// the last. The buffer is wiped when it goes.
class BatchReader {
 public:
  BatchReader(ByteSource& source, std::size_t chunkSize, std::size_t chunks)
      : m_Source(source),
        m_ChunkSize(chunkSize),
        m_Capacity(chunks * chunkSize + 1),
        m_Buffer(std::make_unique_for_overwrite<std::uint8_t[]>(m_Capacity)) {}
  ~BatchReader() { SecureWipe(m_Buffer.get(), m_Used); }
  BatchReader(const BatchReader&) = delete;
  BatchReader& operator=(const BatchReader&) = delete;

  void Next() {
    std::size_t have = 0;
    if (!m_AtEnd && m_Size > 0) m_Buffer[have++] = m_Buffer[m_Capacity - 1];
    const std::size_t wanted = m_Capacity - have;
    const std::size_t got = m_Source.Read(m_Buffer.get() + have, wanted);
    m_AtEnd = got < wanted;
    m_Size = m_AtEnd ? have + got : m_Capacity - 1;
    m_Used = std::max(m_Used, have + got);
  }
  const std::uint8_t* Chunk(std::size_t index) const {
    return m_Buffer.get() + index * m_ChunkSize;
  }
  std::size_t ChunkSize(std::size_t index) const {
    return std::min(m_ChunkSize, m_Size - index * m_ChunkSize);
  }
  std::size_t Chunks() const { return (m_Size + m_ChunkSize - 1) / m_ChunkSize; }
  std::size_t Size() const { return m_Size; }
  bool AtEnd() const { return m_AtEnd; }

 private:
  ByteSource& m_Source;
  std::size_t m_ChunkSize, m_Capacity;
  std::unique_ptr<std::uint8_t[]> m_Buffer;
  std::size_t m_Size = 0, m_Used = 0;
  bool m_AtEnd = false;
};

// Batches no larger than the file, so that a small file costs little memory to fill and wipe.
std::size_t BatchChunksFor(std::uint64_t sizeHint, std::size_t chunkSize) {
  return static_cast<std::size_t>(
      std::clamp<std::uint64_t>((sizeHint + chunkSize - 1) / chunkSize, 1, kBatchChunks));
}

// Threads pay off only when there are several batches to overlap.
bool WorthThreads(std::uint64_t sizeHint) {
  return sizeHint > 2 * kBatchChunks * kStoredChunk;
}

using ChunkNonce = std::array<std::uint8_t, crypto_aead_chacha20poly1305_ietf_NPUBBYTES>;

// The chunk's number as 11 bytes big-endian, then 1 for the last chunk and 0 for the others.
ChunkNonce NonceFor(std::uint64_t index, bool last) {
  ChunkNonce nonce{};
  for (std::size_t at = nonce.size() - 1; at-- > 0 && index > 0; index >>= 8)
    nonce[at] = static_cast<std::uint8_t>(index);
  nonce.back() = last ? 1 : 0;
  return nonce;
}

void SealChunk(const std::uint8_t* key, std::uint64_t index, bool last, const std::uint8_t* plain,
               std::size_t size, std::uint8_t* sealed) {
  const ChunkNonce nonce = NonceFor(index, last);
  crypto_aead_chacha20poly1305_ietf_encrypt(sealed, nullptr, plain, size, nullptr, 0, nullptr,
                                            nonce.data(), key);
}

// With `plain` null, only checks the tag. An empty last chunk may only be the first.
bool OpenChunk(const std::uint8_t* key, std::uint64_t index, bool last, const std::uint8_t* sealed,
               std::size_t size, std::uint8_t* plain) {
  if (size < kTag || (last && size == kTag && index > 0)) return false;
  const ChunkNonce nonce = NonceFor(index, last);
  return crypto_aead_chacha20poly1305_ietf_decrypt(plain, nullptr, nullptr, sealed, size, nullptr,
                                                   0, nonce.data(), key) == 0;
}

// Where a chunk that failed goes wrong. A whole chunk that opens as the other kind is sound: the
// file was cut after it, or goes on past the last chunk.
std::uint64_t DamagedAt(const std::uint8_t* key, std::uint64_t index, bool last,
                        const std::uint8_t* sealed, std::size_t size) {
  const std::uint64_t start = kSealedHeaderSize + index * kStoredChunk;
  if (size == kStoredChunk && OpenChunk(key, index, !last, sealed, size, nullptr))
    return start + kStoredChunk;
  return start;
}

bool Cancelled(const SealedControl& control) {
  return control.cancel != nullptr && control.cancel->load(std::memory_order_relaxed);
}

void Report(const SealedControl& control, std::uint64_t bytesDone) {
  if (control.progress) control.progress(bytesDone);
}

}  // namespace

SealedResult SealChunks(const std::uint8_t* payloadKey, std::span<const std::uint8_t> header,
                        ByteSource& plaintext, ByteSink& sealed, const SealedControl& control) {
  const std::uint64_t sizeHint = plaintext.Size();
  const std::size_t batchChunks = BatchChunksFor(sizeHint, kChunk);
  BatchReader input(plaintext, kChunk, batchChunks);
  WriteBehind output(sealed, header.size() + batchChunks * kStoredChunk, WorthThreads(sizeHint));
  ChunkWorkers workers(WorthThreads(sizeHint));
  std::uint8_t* out = output.Acquire();
  std::copy(header.begin(), header.end(), out);
  std::size_t lead = header.size();  // only the first batch carries the header
  std::uint64_t index = 0, done = 0;
  for (;;) {
    if (Cancelled(control)) return {SealedStatus::Cancelled};
    input.Next();
    const std::size_t chunks = std::max<std::size_t>(1, input.Chunks());  // an empty file too
    workers.Run(chunks, [&](std::size_t i) {
      SealChunk(payloadKey, index + i, input.AtEnd() && i + 1 == chunks, input.Chunk(i),
                input.ChunkSize(i), out + lead + i * kStoredChunk);
    });
    output.Submit(lead + input.Size() + chunks * kTag);
    Report(control, done += input.Size());
    if (input.AtEnd()) {
      output.Finish();
      return {};
    }
    index += chunks;
    lead = 0;
    out = output.Acquire();
  }
}

SealedResult OpenChunks(const std::uint8_t* payloadKey, ByteSource& payload, ByteSink& plaintext,
                        const SealedControl& control) {
  const std::uint64_t sizeHint = payload.Size();
  const std::size_t batchChunks = BatchChunksFor(sizeHint, kStoredChunk);
  BatchReader input(payload, kStoredChunk, batchChunks);
  WriteBehind output(plaintext, batchChunks * kChunk, WorthThreads(sizeHint));
  ChunkWorkers workers(WorthThreads(sizeHint));
  std::array<bool, kBatchChunks> opened{};
  std::uint64_t index = 0, done = kSealedHeaderSize;
  for (;;) {
    if (Cancelled(control)) return {SealedStatus::Cancelled};
    input.Next();
    const std::size_t chunks = input.Chunks();
    const auto last = [&](std::size_t i) { return input.AtEnd() && i + 1 == chunks; };
    std::uint8_t* out = output.Acquire();
    workers.Run(chunks, [&](std::size_t i) {
      opened[i] = OpenChunk(payloadKey, index + i, last(i), input.Chunk(i), input.ChunkSize(i),
                            out + i * kChunk);
    });
    const std::size_t sound =
        std::find(opened.begin(), opened.begin() + chunks, false) - opened.begin();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < sound; ++i)
      kept += input.ChunkSize(i) - kTag;
    if (kept > 0) output.Submit(kept);
    if (sound < chunks || chunks == 0) {
      output.Finish();
      if (chunks == 0) return {SealedStatus::Damaged, done};  // nothing after the header
      return {SealedStatus::Damaged, DamagedAt(payloadKey, index + sound, last(sound),
                                               input.Chunk(sound), input.ChunkSize(sound))};
    }
    Report(control, done += input.Size());
    if (input.AtEnd()) {
      output.Finish();
      return {};
    }
    index += chunks;
  }
}

}  // namespace lockvale
