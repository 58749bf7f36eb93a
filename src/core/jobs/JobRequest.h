#pragma once

#include <string>

#include "format/SealedKeys.h"
#include "util/SecretText.h"

namespace lockvale {

enum class JobMode { SingleFile, MultipleFiles, Text };
enum class Direction { Encrypt, Decrypt };
// What encrypting writes: the encrypted-file format (".encr") or the sealed one (".lkv").
// Decrypting reads either, by the file's content.
enum class Format { Encr, Lkv };

// A job's inputs, read from the window once, before the job starts. Texts and names
// are UTF-8, which is also how the file system takes names.
struct JobRequest {
  JobMode mode = JobMode::SingleFile;
  Direction direction = Direction::Encrypt;
  std::string source;  // the single-file job's names
  std::string destination;
  std::string text;  // the text job's text, its line breaks CR LF
  SecretText keyText;
  Format format = Format::Encr;
  KdfSettings kdf;  // what sealing derives the key with
  int keyBits = 128;
  int blockBits = 128;
  bool overwrite = false;     // an existing destination is replaced without asking
  bool deleteSource = false;  // after a successful job
};

}  // namespace lockvale
