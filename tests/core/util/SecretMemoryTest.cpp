#include "util/SecretMemory.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include "TestSupport.h"
#include "cipher/KeyBytes.h"
#include "util/SecretText.h"

static long LockedKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line) && !line.starts_with("VmLck:")) {
  }
  return std::stol(line.substr(6));
}

TEST(SecretMemory, NoCoreDumpsAndKeysLockedInMemoryWhileTheyLive) {
  lockvale::DisableCoreDumps();
  rlimit core{1, 1};
  getrlimit(RLIMIT_CORE, &core);
  EXPECT_EQ(std::pair(core.rlim_max, prctl(PR_GET_DUMPABLE)), std::pair(rlim_t{0}, 0));
#ifdef LOCKVALE_TEST_UNDER_SANITIZER
  GTEST_SKIP() << "the sanitizer turns mlock into nothing";
#endif
  const long before = LockedKilobytes();
  {
    const lockvale::SecretText text("secret");
    const lockvale::KeyBytes key(text.View());
    EXPECT_EQ(LockedKilobytes() - before, 2 * sysconf(_SC_PAGESIZE) / 1024);
  }
  EXPECT_EQ(LockedKilobytes(), before);
}
#endif
