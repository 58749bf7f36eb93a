#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "format/cEncrypt.h"
#include "jobs/BatchList.h"
#include "jobs/BatchTally.h"
#include "jobs/MessageBoxes.h"
#include "util/Trash.h"

namespace lockvale {

// What a job needs of the front end that runs it.
class JobHost {
 public:
  virtual ~JobHost() = default;
  virtual MessageBoxes& Boxes() = 0;
  // The one cipher object, kept between jobs; its progress goes to the host's progress
  // display, and a file stops when the host's cancel flag given with it is set.
  virtual cEncrypt& Cipher() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void StartProgress(std::uint64_t maximum) = 0;  // range 0 to maximum, at 0
  virtual void FillProgress() = 0;
  // Puts the text job's result, UTF-8, in place of its text.
  virtual void DisplayString(const std::string& text) = 0;
  virtual BatchList& BatchRows() = 0;
  // The counts of a batch run that got to its rows, also when it was cancelled.
  virtual void BatchFinished(const BatchTally&) {}
  // Where a decrypted source goes; the reason when it could not, and then it stays.
  virtual std::optional<std::string> MoveSourceToTrash(const std::string& path) {
    return MoveToTrash(path);
  }
};

}  // namespace lockvale
