#include "util/AtomicOutputFile.h"

#include <random>

namespace lockvale {

std::string AtomicOutputFile::TemporaryName() {
  // Lower case only: Windows does not tell upper from lower case in names.
  static constexpr char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kCharacters - 2);
  std::string name = ".lv-";
  for (int i = 0; i < 12; ++i)
    name += kCharacters[pick(generator)];
  return name;
}

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
