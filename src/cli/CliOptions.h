#pragma once

#include <string>
#include <vector>

#include "jobs/JobRequest.h"

namespace lockvale {

enum class CliCommand { Files, Text, Help, Version };

// What one run of lockvale-cli is asked to do, as read from its arguments.
struct CliOptions {
  CliCommand command = CliCommand::Files;
  Direction direction = Direction::Encrypt;
  std::vector<std::string> paths;  // files and folders, in the order given
  std::string output;              // -o: the one file's destination; empty when not given
  std::string keyFile;             // empty: the key comes from the environment or a prompt
  int keyBits = 128;
  bool recursive = false;
  bool overwrite = false;
  bool deleteSource = false;
  bool quiet = false;
};

// Reads the arguments after the program's name; throws UsageError when they make no sense.
CliOptions ParseCliOptions(const std::vector<std::string>& arguments);

}  // namespace lockvale
