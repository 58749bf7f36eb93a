#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>

#include "util/AlignedBuffer.h"
#include "util/ByteStream.h"

namespace lockvale {

// Two chunk buffers taking turns: the caller fills one while a second thread
// writes the other, so reading and transforming overlap with the write, which
// is usually the slowest part. Unthreaded, it writes each chunk at once.
// Buffers are cache-aligned and wiped when freed. The sink is only called from
// one thread at a time; a write error comes back from Acquire() or Finish().
class WriteBehind {
 public:
  WriteBehind(ByteSink& sink, std::size_t bufferSize, bool threaded);
  ~WriteBehind();  // abandons what is not yet written
  WriteBehind(const WriteBehind&) = delete;
  WriteBehind& operator=(const WriteBehind&) = delete;

  std::uint8_t* Acquire();        // waits for a free buffer
  void Submit(std::size_t size);  // hands the acquired buffer over for writing
  void Finish();                  // waits until everything submitted is written

 private:
  void WriterLoop();
  void RethrowIfFailed();

  ByteSink& m_Sink;
  std::size_t m_BufferSize;
  AlignedBuffer m_Buffers[2];
  std::size_t m_Sizes[2] = {0, 0};
  int m_FillIndex = 0, m_WriteIndex = 0, m_Pending = 0;
  bool m_Stop = false;
  std::exception_ptr m_Error;
  std::mutex m_Mutex;
  std::condition_variable m_Changed;
  std::thread m_Writer;
};

}  // namespace lockvale
