// Volume: a hundred thousand small files through lockvale-cli in one run each way, and one file
// past 4 GiB through the file job, both checked byte for byte.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <chrono>
#include <iostream>

#include "CliProcess.h"
#include "jobs/FileJob.h"

using namespace lockvale::test;

namespace {

Bytes SmallFile(int i) {
  return RandomBytes(static_cast<std::size_t>(i % 61), 900'000 + i);
}

// On a tmpfs when the test may mount one: what is measured is the tool, not the disk's flushes.
TEST(Load, HundredThousandSmallFilesInOneRunEachWay) {
  constexpr int kFiles = 100'000;  // a thousand to a folder
  TempDir dir;
  const std::string tree = dir / "tree";
  std::filesystem::create_directory(tree);
  const bool onTmpfs = geteuid() == 0 && mount("tmpfs", tree.c_str(), "tmpfs", 0, "size=1g") == 0;
  WriteFile(dir / "key", {'l', 'o', 'a', 'd'});
  std::filesystem::permissions(dir / "key", std::filesystem::perms::owner_read);
  const auto name = [&](int i) {
    return tree + "/" + std::to_string(i / 1000) + "/" + std::to_string(i);
  };
  for (int i = 0; i < kFiles; ++i) {
    if (i % 1000 == 0) std::filesystem::create_directory(tree + "/" + std::to_string(i / 1000));
    WriteFile(name(i), SmallFile(i));
  }
  double seconds[2];
  for (const int way : {0, 1}) {
    const auto start = std::chrono::steady_clock::now();
    // Decrypted sources would go to a trash, which a test must not fill.
    Strings arguments = way == 0 ? Strings{"encrypt", "--delete-source"} : Strings{"decrypt"};
    arguments.insert(arguments.end(), {"-r", "--quiet", "--key-file", dir / "key", tree});
    EXPECT_EQ(Cli(arguments), "0 ");
    seconds[way] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  for (int i = 0; i < kFiles; ++i)
    ASSERT_EQ(ReadFile(name(i)), SmallFile(i)) << name(i);
  // Each source beside its ciphertext, and nothing else.
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(tree), {}),
            kFiles / 1000 + 2 * kFiles);
  std::cout << kFiles << " files " << (onTmpfs ? "on a tmpfs" : "on the temporary folder's disk")
            << ": encrypted in " << seconds[0] << " s, decrypted in " << seconds[1] << " s\n";
  if (onTmpfs) umount(tree.c_str());
}

// Sizes and offsets must be 64-bit from the file system to the format. The source is sparse, so
// only the outputs take disk space.
TEST(Load, FilePastFourGiBRoundTrips) {
  constexpr std::uint64_t kSize = (std::uint64_t{4} << 30) + 17;
  TempDir dir;
  struct statvfs fs {};
  if (statvfs(dir.Path().c_str(), &fs) != 0 || fs.f_bavail * fs.f_frsize < 3 * kSize)
    GTEST_SKIP() << "needs " << 3 * kSize / (1 << 30) << " GiB free in " << dir.Path();
  std::ofstream(dir / "plain").seekp(kSize - 1) << '\0';
  cEncrypt cipher;
  cipher.SetCipherKeyString("large", 192);
  ASSERT_EQ(
      RunFileJob(cipher, {dir / "plain", dir / "cipher", Direction::Encrypt, false, true}).format,
      FormatResult{});
  ASSERT_EQ(std::filesystem::file_size(dir / "cipher"), kSize - 1 + 16);

  ASSERT_EQ(RunFileJob(cipher, {dir / "cipher", dir / "plain", Direction::Decrypt}).format,
            FormatResult{});
  EXPECT_EQ(dir.Entries(), (Names{"cipher", "plain"}));
  ASSERT_EQ(std::filesystem::file_size(dir / "plain"), kSize);
  const std::string zeros = "cmp -s -n " + std::to_string(kSize) + " /dev/zero " + dir / "plain";
  EXPECT_EQ(std::system(zeros.c_str()), 0);
}

}  // namespace
