// The sealed format's figures, each printed on one line:
//   sealed_bench seal IN OUT         IN sealed into OUT with the lightest key derivation (t = 1,
//                                    m = 8 KiB), so that the payload is what is timed
//   sealed_bench open IN OUT         IN opened into OUT
//   sealed_bench derive              the default key derivation (t = 3, m = 256 MiB)
//   sealed_bench small FOLDER FILES  FILES small files sealed in one run, after its one derivation
// Files go through InputFile and AtomicOutputFile, as a file job writes them.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "format/SealedFormat.h"
#include "util/AtomicOutputFile.h"
#include "util/InputFile.h"

namespace {

using lockvale::SealedKeyring;
using lockvale::SealedResult;
using lockvale::SealedStatus;
using Clock = std::chrono::steady_clock;

constexpr char kKey[] = "benchmark key";

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Seals or opens one file into `destination`; false, after saying why, when it fails.
bool Transform(SealedKeyring& keys, bool seal, const std::string& source,
               const std::string& destination) {
  lockvale::InputFile input(source);
  lockvale::AtomicOutputFile output(destination, input.PermissionBits());
  const SealedResult result =
      seal ? SealFile(keys, input, output) : OpenSealedFile(keys, input, output);
  if (result.status != SealedStatus::Ok) {
    std::fprintf(stderr, "%s: status %d at byte %llu\n", source.c_str(),
                 static_cast<int>(result.status),
                 static_cast<unsigned long long>(result.damagedAt));
    return false;
  }
  output.Commit(true);
  return true;
}

int Derive() {
  SealedKeyring keys(kKey);
  const auto start = Clock::now();
  keys.Secret(keys.WritingSalt(), keys.WritingSettings());
  std::printf("default key derivation (t = 3, m = 256 MiB): %.3f s\n", SecondsSince(start));
  return 0;
}

int Small(const std::filesystem::path& parent, int files) {
  const std::filesystem::path folder = parent / "lockvale-sealed-bench";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (int i = 0; i < files; ++i)
    std::ofstream(folder / std::to_string(i)) << "small file number " << i << '\n';
  SealedKeyring keys(kKey);
  auto start = Clock::now();
  keys.Secret(keys.WritingSalt(), keys.WritingSettings());
  const double derivation = SecondsSince(start);
  start = Clock::now();
  for (int i = 0; i < files; ++i) {
    const std::string name = (folder / std::to_string(i)).string();
    if (!Transform(keys, true, name, name + ".lkv")) return 1;
  }
  const double sealing = SecondsSince(start);
  std::printf(
      "%d small files sealed in one run: derivation %.3f s, then %.3f s, %.0f files/s "
      "(target >= 10000) %s\n",
      files, derivation, sealing, files / sealing, files / sealing >= 10'000 ? "ok" : "MISS");
  std::filesystem::remove_all(folder);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "derive") return Derive();
  if (mode == "small" && argc == 4) return Small(argv[2], std::stoi(argv[3]));
  if ((mode == "seal" || mode == "open") && argc == 4) {
    SealedKeyring keys(kKey, {1, 8, 1});
    return Transform(keys, mode == "seal", argv[2], argv[3]) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: sealed_bench seal|open IN OUT | derive | small FOLDER FILES\n");
  return 2;
}
