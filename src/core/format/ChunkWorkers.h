#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>

namespace lockvale {

// Two threads for the independent chunks of a batch: the caller's and a helper kept for the
// whole file. Unthreaded, the caller does every chunk.
class ChunkWorkers {
 public:
  using Work = std::function<void(std::size_t chunk)>;  // must not throw

  explicit ChunkWorkers(bool threaded);
  ~ChunkWorkers();
  ChunkWorkers(const ChunkWorkers&) = delete;
  ChunkWorkers& operator=(const ChunkWorkers&) = delete;

  // Calls work(i) for every i below count, the upper half on the helper; returns when all are done.
  void Run(std::size_t count, const Work& work);

 private:
  void HelperLoop();

  const Work* m_Work = nullptr;
  std::size_t m_Begin = 0, m_End = 0;
  bool m_HelperBusy = false, m_Stop = false;
  std::mutex m_Mutex;
  std::condition_variable m_Changed;
  std::thread m_Helper;
};

}  // namespace lockvale
