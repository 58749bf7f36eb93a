#pragma once

namespace lockvale {

// Thrown from the cipher's progress callback when the user stops a file job. The job
// unwinds through the file writer, which discards the unfinished output, and the
// source is deleted only after a complete result, so both stay as they were.
struct JobCancelled {};

}  // namespace lockvale
