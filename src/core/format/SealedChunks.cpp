#include "format/SealedChunks.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "format/BatchPipeline.h"
#include "util/AlignedBuffer.h"
#include "util/SecureWipe.h"

namespace lockvale {
namespace {

constexpr std::size_t kChunk = kSealedChunkSize;
constexpr std::size_t kTag = kSealedTagSize;
constexpr std::size_t kStoredChunk = kChunk + kTag;
static_assert(kTag == crypto_aead_chacha20poly1305_ietf_ABYTES);
// A batch of 1 MiB stays in the processor's cache between the read, the cipher and the write.
constexpr std::size_t kBatchChunks = 16;
// Enough batches in the ring for one to be read and one written while two are sealed or opened.
constexpr std::size_t kRingSlots = 4;

// Reads a source a batch of chunks at a time and one byte ahead, so that it knows which batch
// is the last: that byte goes into the buffer's spare last place and opens the next batch.
class LookaheadReader {
 public:
  LookaheadReader(ByteSource& source, std::size_t capacity)
      : m_Source(source), m_Capacity(capacity) {}

  // Fills `buffer`, of capacity + 1 bytes, and returns the size of the batch it holds.
  std::size_t Next(std::uint8_t* buffer, bool& last) {
    std::size_t have = 0;
    if (m_Carried) buffer[have++] = m_Carry;
    const std::size_t wanted = m_Capacity + 1 - have;
    const std::size_t got = m_Source.Read(buffer + have, wanted);
    last = got < wanted;
    m_Carried = !last;
    m_Carry = buffer[m_Capacity];
    return last ? have + got : m_Capacity;
  }

 private:
  ByteSource& m_Source;
  std::size_t m_Capacity;
  std::uint8_t m_Carry = 0;
  bool m_Carried = false;
};

// One slot of the ring: a batch as read and as transformed. Both buffers are wiped when it goes,
// since one of them holds plaintext.
struct Batch {
  Batch(std::size_t inSize, std::size_t outSize)
      : in(NewAlignedBuffer(inSize)),
        out(NewAlignedBuffer(outSize)),
        inSize(inSize),
        outSize(outSize) {}
  ~Batch() {
    if (in) SecureWipe(in.get(), inSize);
    if (out) SecureWipe(out.get(), outSize);
  }
  Batch(Batch&&) = default;

  AlignedBuffer in, out;
  std::size_t inSize, outSize;
  std::size_t size = 0, chunks = 0;  // bytes read and the chunks they make
  std::uint64_t firstChunk = 0;
  bool last = false;
  std::size_t sound = 0;  // opening: how many chunks, from the first, verified
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

// The ring: one batch for a small file, which is read, transformed and written in turn; four for a
// larger one, which two threads work on at once.
std::vector<Batch> RingFor(std::uint64_t sizeHint, std::size_t inChunk, std::size_t outChunk,
                           std::size_t lead) {
  const std::size_t chunks = BatchChunksFor(sizeHint, inChunk);
  std::vector<Batch> ring;
  ring.reserve(kRingSlots);
  for (std::size_t i = WorthThreads(sizeHint) ? kRingSlots : 1; i > 0; --i)
    ring.emplace_back(chunks * inChunk + 1, lead + chunks * outChunk);
  return ring;
}

// Reads the next batch into `batch` and numbers its chunks.
bool ReadBatch(LookaheadReader& reader, Batch& batch, std::size_t chunkSize,
               std::uint64_t& nextChunk) {
  batch.size = reader.Next(batch.in.get(), batch.last);
  batch.chunks = (batch.size + chunkSize - 1) / chunkSize;
  batch.firstChunk = nextChunk;
  nextChunk += batch.chunks;
  return batch.last;
}

const std::uint8_t* ChunkIn(const Batch& batch, std::size_t i, std::size_t chunkSize) {
  return batch.in.get() + i * chunkSize;
}

std::size_t ChunkSize(const Batch& batch, std::size_t i, std::size_t chunkSize) {
  return std::min(chunkSize, batch.size - i * chunkSize);
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

// The progress reported on the caller's thread, of bytes the write steps count on any thread.
std::function<void()> Reporter(const SealedControl& control,
                               const std::atomic<std::uint64_t>& bytesDone) {
  if (!control.progress) return {};
  return [&control, &bytesDone] { control.progress(bytesDone.load(std::memory_order_relaxed)); };
}

}  // namespace

SealedResult SealChunks(const std::uint8_t* payloadKey, std::span<const std::uint8_t> header,
                        ByteSource& plaintext, ByteSink& sealed, const SealedControl& control) {
  const std::uint64_t sizeHint = plaintext.Size();
  std::vector<Batch> ring = RingFor(sizeHint, kChunk, kStoredChunk, header.size());
  LookaheadReader reader(plaintext, ring[0].inSize - 1);
  std::uint64_t nextChunk = 0;
  std::atomic<std::uint64_t> done = 0;
  const BatchSteps steps{
      .read = [&](std::size_t slot) { return ReadBatch(reader, ring[slot], kChunk, nextChunk); },
      .transform =
          [&](std::size_t slot) {
            Batch& batch = ring[slot];
            const std::size_t chunks = std::max<std::size_t>(1, batch.chunks);  // an empty file
            for (std::size_t i = 0; i < chunks; ++i)
              SealChunk(payloadKey, batch.firstChunk + i, batch.last && i + 1 == chunks,
                        ChunkIn(batch, i, kChunk), ChunkSize(batch, i, kChunk),
                        batch.out.get() + header.size() + i * kStoredChunk);
          },
      .write =
          [&](std::size_t slot) {
            // Only the first batch carries the header, in the same write.
            const Batch& batch = ring[slot];
            const bool first = batch.firstChunk == 0;
            const std::size_t lead = first ? header.size() : 0;
            std::uint8_t* out = batch.out.get() + header.size() - lead;
            if (first) std::copy(header.begin(), header.end(), out);
            sealed.Write(out, lead + batch.size + std::max<std::size_t>(1, batch.chunks) * kTag);
            done += batch.size;
            return true;
          },
      .written = Reporter(control, done)};
  const PipelineEnd end = RunBatchPipeline(steps, ring.size(), ring.size() > 1, control.cancel);
  return {end == PipelineEnd::Cancelled ? SealedStatus::Cancelled : SealedStatus::Ok};
}

SealedResult OpenChunks(const std::uint8_t* payloadKey, ByteSource& payload, ByteSink& plaintext,
                        const SealedControl& control) {
  const std::uint64_t sizeHint = payload.Size();
  std::vector<Batch> ring = RingFor(sizeHint, kStoredChunk, kChunk, 0);
  LookaheadReader reader(payload, ring[0].inSize - 1);
  std::uint64_t nextChunk = 0;
  std::atomic<std::uint64_t> done = kSealedHeaderSize;
  SealedResult result;
  const auto last = [](const Batch& batch, std::size_t i) {
    return batch.last && i + 1 == batch.chunks;
  };
  const BatchSteps steps{
      .read =
          [&](std::size_t slot) { return ReadBatch(reader, ring[slot], kStoredChunk, nextChunk); },
      .transform =
          [&](std::size_t slot) {
            Batch& batch = ring[slot];
            batch.sound = 0;
            while (batch.sound < batch.chunks &&
                   OpenChunk(payloadKey, batch.firstChunk + batch.sound, last(batch, batch.sound),
                             ChunkIn(batch, batch.sound, kStoredChunk),
                             ChunkSize(batch, batch.sound, kStoredChunk),
                             batch.out.get() + batch.sound * kChunk))
              ++batch.sound;
          },
      .write =
          [&](std::size_t slot) {
            const Batch& batch = ring[slot];
            const std::size_t kept = batch.sound == batch.chunks ? batch.size - batch.chunks * kTag
                                                                 : batch.sound * kChunk;
            if (kept > 0) plaintext.Write(batch.out.get(), kept);
            if (batch.chunks ==
                0) {  // nothing after the header, or after a chunk that was not last
              result = {SealedStatus::Damaged, done};
              return false;
            }
            if (batch.sound < batch.chunks) {
              const std::size_t i = batch.sound;
              result = {
                  SealedStatus::Damaged,
                  DamagedAt(payloadKey, batch.firstChunk + i, last(batch, i),
                            ChunkIn(batch, i, kStoredChunk), ChunkSize(batch, i, kStoredChunk))};
              return false;
            }
            done += batch.size;
            return true;
          },
      .written = Reporter(control, done)};
  const PipelineEnd end = RunBatchPipeline(steps, ring.size(), ring.size() > 1, control.cancel);
  return end == PipelineEnd::Cancelled ? SealedResult{SealedStatus::Cancelled} : result;
}

}  // namespace lockvale
