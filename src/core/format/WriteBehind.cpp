#include "format/WriteBehind.h"

#include "util/SecureWipe.h"

namespace lockvale {

WriteBehind::WriteBehind(ByteSink& sink, std::size_t bufferSize, bool threaded)
    : m_Sink(sink), m_BufferSize(bufferSize) {
  // Unthreaded, each chunk is written before the next is filled, so one buffer does.
  for (int i = 0; i < (threaded ? 2 : 1); ++i)
    m_Buffers[i] = NewAlignedBuffer(bufferSize);
  if (threaded) m_Writer = std::thread(&WriteBehind::WriterLoop, this);
}

WriteBehind::~WriteBehind() {
  if (m_Writer.joinable()) {
    {
      std::lock_guard lock(m_Mutex);
      m_Stop = true;
    }
    m_Changed.notify_all();
    m_Writer.join();
  }
  for (const auto& buffer : m_Buffers)
    if (buffer) SecureWipe(buffer.get(), m_BufferSize);
}

std::uint8_t* WriteBehind::Acquire() {
  std::unique_lock lock(m_Mutex);
  m_Changed.wait(lock, [this] { return m_Pending < 2 || m_Error; });
  RethrowIfFailed();
  return m_Buffers[m_FillIndex].get();
}

void WriteBehind::Submit(std::size_t size) {
  if (!m_Writer.joinable()) {
    m_Sink.Write(m_Buffers[m_FillIndex].get(), size);
    return;
  }
  {
    std::lock_guard lock(m_Mutex);
    m_Sizes[m_FillIndex] = size;
    m_FillIndex ^= 1;
    ++m_Pending;
  }
  m_Changed.notify_all();
}

void WriteBehind::Finish() {
  std::unique_lock lock(m_Mutex);
  m_Changed.wait(lock, [this] { return m_Pending == 0 || m_Error; });
  RethrowIfFailed();
}

void WriteBehind::RethrowIfFailed() {
  if (m_Error) std::rethrow_exception(m_Error);
}

void WriteBehind::WriterLoop() {
  std::unique_lock lock(m_Mutex);
  for (;;) {
    m_Changed.wait(lock, [this] { return m_Pending > 0 || m_Stop; });
    if (m_Stop) return;
    const int index = m_WriteIndex;
    lock.unlock();
    try {
      m_Sink.Write(m_Buffers[index].get(), m_Sizes[index]);
    } catch (...) {
      lock.lock();
      m_Error = std::current_exception();
      m_Changed.notify_all();
      return;
    }
    lock.lock();
    m_WriteIndex ^= 1;
    --m_Pending;
    m_Changed.notify_all();
  }
}

}  // namespace lockvale
