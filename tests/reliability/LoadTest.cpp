#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "TestSupport.h"
#include "jobs/FileJob.h"

using namespace lockvale::test;

// A real file past 4 GiB through the whole job: sizes and offsets must be 64-bit
// from the file system to the format. The source is sparse, so only the outputs
// take disk space.
TEST(LargeFileJob, FilePastFourGiBRoundTrips) {
  constexpr std::uint64_t kSize = (std::uint64_t{4} << 30) + 17;
  TempDir dir;
  struct statvfs fs {};
  if (statvfs(dir.Path().c_str(), &fs) != 0 || fs.f_bavail * fs.f_frsize < 3 * kSize)
    GTEST_SKIP() << "needs " << 3 * kSize / (1 << 30) << " GiB free in " << dir.Path();
  std::ofstream(dir / "plain").close();
  std::filesystem::resize_file(dir / "plain", kSize);
  cEncrypt cipher;
  cipher.SetCipherKeyString("large", 192);
  ASSERT_EQ(RunFileJob(cipher, {dir / "plain", dir / "cipher", Direction::Encrypt, false, true}),
            FileJobOutcome::Completed);
  ASSERT_EQ(std::filesystem::file_size(dir / "cipher"), kSize - 1 + 16);

  std::ifstream in(dir / "cipher", std::ios::binary);
  in.seekg(-32, std::ios::end);
  Bytes tail(32), expected(32, 0);
  in.read(reinterpret_cast<char*>(tail.data()), 32);
  expected[31] = 1;  // one byte in the final block
  EXPECT_EQ(OpenSslEcb(false, Key("large"), 192, tail), expected);

  ASSERT_EQ(RunFileJob(cipher, {dir / "cipher", dir / "plain", Direction::Decrypt, false, true}),
            FileJobOutcome::Completed);
  EXPECT_EQ(std::filesystem::file_size(dir / "plain"), kSize);
  EXPECT_EQ(dir.Entries(), Names{"plain"});
}
