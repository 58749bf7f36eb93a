#pragma once

#include <optional>
#include <string>
#include <vector>

#include "jobs/FileJob.h"

namespace lockvale {

// lockvale-cli encrypt|decrypt [--key-bits 128|192|256] --key-file FILE
//                              [-o DEST] [--overwrite] [--delete-source] SOURCE
struct CliOptions {
  Direction direction = Direction::Encrypt;
  int keyBits = 128;
  std::string keyFile;
  std::string source;
  std::string destination;  // derived from the source when not given
  bool overwrite = false;
  bool deleteSource = false;
};

struct CliParseResult {
  std::optional<CliOptions> options;
  std::string error;  // set when options is empty
};

CliParseResult ParseCliOptions(const std::vector<std::string>& arguments);

// SOURCE plus ".encr" when encrypting; SOURCE cut before its last ".encr" when
// decrypting (empty when it has none).
std::string DefaultDestination(const std::string& source, Direction direction);

extern const char* const kCliUsage;

}  // namespace lockvale
