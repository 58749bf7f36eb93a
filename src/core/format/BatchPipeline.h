#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

namespace lockvale {

// The batches of a file go through three steps: read in order, transformed in any order, written
// in order, each in one slot of a ring. Two threads, the caller's and a helper, each take whichever
// step is ready, so reads, the cipher and writes overlap on two cores without one thread per step
// waiting for the others. Unthreaded, the caller takes the steps in turn.
struct BatchSteps {
  std::function<bool(std::size_t slot)> read;       // true when that batch was the last
  std::function<void(std::size_t slot)> transform;  // any number at once, on different slots
  std::function<bool(std::size_t slot)> write;      // false ends the run after this batch
  std::function<void()> written = {};               // on the caller's thread, after writes
};

enum class PipelineEnd { Finished, Stopped, Cancelled };

// Runs until the last batch is written, a write ends the run or `cancel` is set (looked at
// before each read). A step's exception comes back from here once both threads have left the steps.
PipelineEnd RunBatchPipeline(const BatchSteps& steps, std::size_t slots, bool threaded,
                             const std::atomic<bool>* cancel);

}  // namespace lockvale
