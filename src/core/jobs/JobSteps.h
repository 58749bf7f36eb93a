#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cipher/KeyBytes.h"
#include "jobs/FileJob.h"
#include "jobs/JobChecks.h"
#include "jobs/JobHost.h"
#include "jobs/JobRequest.h"

namespace lockvale {

class CodePage;

// How many characters of `text` the code page cannot hold; encrypted, each would be a "?".
std::size_t UnheldCharacters(const CodePage& codePage, std::string_view text);

// UTF-8 text as bytes of the system's code page, and back.
std::vector<std::uint8_t> ToCodePage(std::string_view text);
std::string FromCodePage(std::span<const std::uint8_t> bytes);

// The text of decrypted bytes: up to the first zero, which starts the last block's padding.
std::string VisibleText(std::span<const std::uint8_t> bytes);

// The question every job asks before it starts; only Yes goes on.
bool Confirmed(JobHost& host, Direction direction, const char* encryptQuestion,
               const char* decryptQuestion);

// When encrypting, asks before the key, or the text job's text, loses characters that the code
// page in force cannot hold; true to go on. Decrypting, and sealing, which takes both as UTF-8,
// ask nothing.
bool UnheldCharactersAccepted(JobHost& host, const JobRequest& request);

// The key bytes of the typed key, through the system's code page.
std::unique_ptr<KeyBytes> GetPassword(const SecretText& keyText);

// The cipher keyed with the request's key and key size, after the status says what the
// file job is about to do.
cEncrypt& KeyedCipherForFile(JobHost& host, const JobRequest& request);

// The status while the slow key derivation runs, and the file job's after it.
inline constexpr char kDerivingStatus[] = "Deriving the key…";
DerivationNotice DerivationShown(JobHost& host, Direction direction);

// Shows the refusal, if there is one; true when there is none.
bool Accepted(JobHost& host, const std::optional<Refusal>& refusal);

// The step every job that got past its questions ends with.
void CompleteJob(JobHost& host, Direction direction, bool errorHappened);

// What the user hears of a source that was to be removed after its result was written, and
// stays; the window shows it once the job has ended.
std::string SourceKeptText(const std::string& source, const std::string& reason);
void TellSourceKept(JobHost& host, const std::string& source, const std::string& reason);

// The host's trash, for the file job.
TrashMover TrashOf(JobHost& host);

}  // namespace lockvale
