#include "format/ChunkWorkers.h"

namespace lockvale {

ChunkWorkers::ChunkWorkers(bool threaded) {
  if (threaded) m_Helper = std::thread(&ChunkWorkers::HelperLoop, this);
}

ChunkWorkers::~ChunkWorkers() {
  if (!m_Helper.joinable()) return;
  {
    std::lock_guard lock(m_Mutex);
    m_Stop = true;
  }
  m_Changed.notify_all();
  m_Helper.join();
}

void ChunkWorkers::Run(std::size_t count, const Work& work) {
  std::size_t mine = count;
  if (m_Helper.joinable() && count > 1) {
    mine = (count + 1) / 2;
    {
      std::lock_guard lock(m_Mutex);
      m_Work = &work;
      m_Begin = mine;
      m_End = count;
      m_HelperBusy = true;
    }
    m_Changed.notify_all();
  }
  for (std::size_t chunk = 0; chunk < mine; ++chunk)
    work(chunk);
  std::unique_lock lock(m_Mutex);
  m_Changed.wait(lock, [this] { return !m_HelperBusy; });
}

void ChunkWorkers::HelperLoop() {
  std::unique_lock lock(m_Mutex);
  for (;;) {
    m_Changed.wait(lock, [this] { return m_HelperBusy || m_Stop; });
    if (m_Stop) return;
    lock.unlock();
    for (std::size_t chunk = m_Begin; chunk < m_End; ++chunk)
      (*m_Work)(chunk);
    lock.lock();
    m_HelperBusy = false;
    m_Changed.notify_all();
  }
}

}  // namespace lockvale
