// Files per second through the batch job: N small files encrypted in one run, then
// decrypted back, in a folder given on the command line (a memory file system or a disk).
//   batch_bench FOLDER [FILES]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "jobs/BatchJob.h"

namespace {

using lockvale::BatchEntry;

class Rows : public lockvale::BatchList {
 public:
  std::size_t Count() const override { return rows.size(); }
  BatchEntry Row(std::size_t index) const override { return rows[index]; }
  void KeepSource(std::size_t index) override { rows[index].deleteSource = false; }
  void Remove(std::size_t index) override { rows.erase(rows.begin() + index); }
  void MarkFailed(std::size_t, const std::string& reason) override {
    std::fprintf(stderr, "failed: %s\n", reason.c_str());
  }
  void ClearMarks() override {}
  std::vector<BatchEntry> rows;
};

// Says Yes to everything and shows nothing.
class QuietHost : public lockvale::JobHost, public lockvale::MessageBoxes {
 public:
  lockvale::MessageAnswer Show(const lockvale::MessageRequest&) override {
    return lockvale::MessageAnswer::Yes;
  }
  lockvale::MessageBoxes& Boxes() override { return *this; }
  lockvale::cEncrypt& Cipher() override { return cipher; }
  void SetStatusText(const std::string&) override {}
  void StartProgress(std::uint64_t) override {}
  void FillProgress() override {}
  void DisplayString(const std::string&) override {}
  lockvale::BatchList& BatchRows() override { return rows; }
  lockvale::cEncrypt cipher;
  Rows rows;
};

double Run(QuietHost& host, lockvale::Direction direction) {
  lockvale::JobRequest request;
  request.mode = lockvale::JobMode::MultipleFiles;
  request.direction = direction;
  request.keyText = lockvale::SecretText("benchmark key");
  const auto start = std::chrono::steady_clock::now();
  lockvale::BatchJob(request, host).Run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: batch_bench FOLDER [FILES]\n");
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::path(argv[1]) / "lockvale-batch-bench";
  const int files = argc > 2 ? std::stoi(argv[2]) : 10'000;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  QuietHost host;
  for (int i = 0; i < files; ++i) {
    const std::string name = (folder / std::to_string(i)).string();
    std::ofstream(name) << "small file number " << i << '\n';
    host.rows.rows.push_back({name, name + ".encr", true, true});
  }
  const double encrypt = Run(host, lockvale::Direction::Encrypt);
  for (BatchEntry& row : host.rows.rows)
    std::swap(row.source, row.destination);
  const double decrypt = Run(host, lockvale::Direction::Decrypt);
  std::printf("%d files in %s: encrypt %.2f s (%.0f files/s), decrypt %.2f s (%.0f files/s)\n",
              files, argv[1], encrypt, files / encrypt, decrypt, files / decrypt);
  std::filesystem::remove_all(folder);
  return 0;
}
