#include "format/BatchPipeline.h"

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lockvale {
namespace {

using Lock = std::unique_lock<std::mutex>;

template <typename Step>
auto Unlocked(Lock& lock, const Step& step) {
  lock.unlock();
  struct Relock {
    Lock& lock;
    ~Relock() { lock.lock(); }
  } relock{lock};
  return step();
}

class Pipeline {
 public:
  Pipeline(const BatchSteps& steps, std::size_t slots, const std::atomic<bool>* cancel)
      : m_Steps(steps), m_Slots(slots), m_Cancel(cancel), m_Transformed(slots, false) {}

  void Loop(bool caller) {
    Lock lock(m_Mutex);
    while (!m_End) {
      try {
        if (caller && m_Reported < m_Written)
          Report(lock);
        else if (TakeStep(lock))
          m_Changed.notify_all();
        else
          m_Changed.wait(lock);
      } catch (...) {
        if (!m_Error) m_Error = std::current_exception();
        m_End = PipelineEnd::Stopped;
        m_Changed.notify_all();
      }
    }
  }

  // After both threads have left Loop.
  PipelineEnd End() {
    if (m_Error) std::rethrow_exception(m_Error);
    if (m_Reported < m_Written && m_Steps.written) m_Steps.written();
    return *m_End;
  }

 private:
  void Report(Lock& lock) {
    m_Reported = m_Written;
    if (m_Steps.written) Unlocked(lock, m_Steps.written);
  }

  // Writing first frees slots for reading; reading next keeps the cipher fed.
  bool TakeStep(Lock& lock) {
    if (!m_Writing && m_Transformed[m_Written % m_Slots]) {  // the slot holds that batch
      const std::size_t slot = m_Written % m_Slots;
      m_Writing = true;
      const bool goOn = Unlocked(lock, [&] { return m_Steps.write(slot); });
      m_Writing = m_Transformed[slot] = false;
      ++m_Written;
      if (!goOn)
        m_End = PipelineEnd::Stopped;
      else if (m_ReadLast && m_Written == m_Read)
        m_End = PipelineEnd::Finished;
      return true;
    }
    if (!m_Reading && !m_ReadLast && m_Read < m_Written + m_Slots) {
      if (m_Cancel != nullptr && m_Cancel->load(std::memory_order_relaxed)) {
        m_End = PipelineEnd::Cancelled;
        return true;
      }
      const std::size_t slot = m_Read % m_Slots;
      m_Reading = true;
      const bool last = Unlocked(lock, [&] { return m_Steps.read(slot); });
      m_Reading = false;
      m_ReadLast = last;
      ++m_Read;
      return true;
    }
    if (m_NextTransform < m_Read) {
      const std::size_t slot = m_NextTransform++ % m_Slots;
      Unlocked(lock, [&] { m_Steps.transform(slot); });
      m_Transformed[slot] = true;
      return true;
    }
    return false;
  }

  const BatchSteps& m_Steps;
  const std::size_t m_Slots;
  const std::atomic<bool>* m_Cancel;
  std::vector<bool> m_Transformed;
  std::uint64_t m_Read = 0, m_NextTransform = 0, m_Written = 0, m_Reported = 0;
  bool m_Reading = false, m_Writing = false, m_ReadLast = false;
  std::optional<PipelineEnd> m_End;
  std::exception_ptr m_Error;
  std::mutex m_Mutex;
  std::condition_variable m_Changed;
};

}  // namespace

PipelineEnd RunBatchPipeline(const BatchSteps& steps, std::size_t slots, bool threaded,
                             const std::atomic<bool>* cancel) {
  Pipeline pipeline(steps, slots, cancel);
  std::thread helper;
  if (threaded) helper = std::thread([&] { pipeline.Loop(false); });
  pipeline.Loop(true);
  if (helper.joinable()) helper.join();
  return pipeline.End();
}

}  // namespace lockvale
