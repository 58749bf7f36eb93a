#pragma once

#include <optional>
#include <string>

#include "format/FormatResult.h"

namespace lockvale {

// What the user is told when a job will not go on: a notice in the window, a line from the
// command line.
struct Refusal {
  std::string text;
  std::string title;
};

// That there is a key.
std::optional<Refusal> CheckKey(bool keyEmpty);

// The checks a file job makes before it asks anything, in their order: the first that
// fails, or nothing.
std::optional<Refusal> CheckFileJob(const std::string& source, const std::string& destination,
                                    bool keyEmpty);

// The text job's checks, in their order: some text, then a key.
std::optional<Refusal> CheckTextJob(const std::string& text, bool keyEmpty, bool encrypting);

// Where the data a form refused was: hexadecimal text in memory, or a file.
enum class DataForm { Buffer, File };

// What the user is told of ciphertext a form refused, in either file format; nothing for a
// result that is done or cancelled.
std::optional<Refusal> RefusalOf(const FormatResult& result, DataForm form);

}  // namespace lockvale
