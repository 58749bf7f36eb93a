#pragma once

#include <string>
#include <vector>

#include "jobs/JobRequest.h"

namespace lockvale {

enum class CliCommand { Files, Verify, Text, Help, Version };

// "-" as a FILE or as -o: standard input or output, for sealed files only.
inline constexpr char kStandardStream[] = "-";

// What one run of lockvale-cli is asked to do, as read from its arguments.
struct CliOptions {
  CliCommand command = CliCommand::Files;
  Direction direction = Direction::Encrypt;
  std::vector<std::string> paths;  // files and folders, in the order given
  std::string output;              // -o: the one file's destination; empty when not given
  std::string keyFile;             // empty: the key comes from the environment or a prompt
  int keyBits = 128;
  Format format = Format::Encr;  // what encrypt writes: --format, else LOCKVALE_FORMAT
  KdfSettings kdf;               // what encrypt derives a sealed file's key with
  bool recursive = false;
  bool overwrite = false;
  bool deleteSource = false;
  bool quiet = false;
};

// Reads the arguments after the program's name, and LOCKVALE_FORMAT; throws UsageError when they
// make no sense.
CliOptions ParseCliOptions(const std::vector<std::string>& arguments);

}  // namespace lockvale
