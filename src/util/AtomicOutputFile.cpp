#include "util/AtomicOutputFile.h"

namespace lockvale {

AtomicOutputFile::~AtomicOutputFile() {
  if (!m_Committed) Discard();
}

void AtomicOutputFile::Commit(bool replaceExisting) {
  try {
    Publish(replaceExisting);
  } catch (...) {
    Discard();
    throw;
  }
  m_Committed = true;
}

}  // namespace lockvale
