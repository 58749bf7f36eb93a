#include "cli/FileCommand.h"

#include <iostream>

#include "cli/FolderFiles.h"
#include "cli/StandardStreams.h"
#include "format/SealedFormat.h"
#include "jobs/BatchEntry.h"
#include "jobs/FileJob.h"
#include "jobs/JobChecks.h"
#include "jobs/JobSteps.h"
#include "util/AtomicOutputFile.h"
#include "util/DirectoryReader.h"
#include "util/FileIdentity.h"
#include "util/InputFile.h"
#include "util/PathText.h"

namespace lockvale {
namespace {

constexpr char kNotSealed[] = "not a sealed file (.lkv); standard input and output take no other";

struct DiscardingSink : ByteSink {
  void Write(const std::uint8_t*, std::size_t) override {}
};

bool IsStream(const std::string& path) {
  return path == kStandardStream;
}

// Standard input for "-", else the file, opened into `file`.
ByteSource& SourceFor(const std::string& path, StandardInput& standard,
                      std::optional<InputFile>& file) {
  if (IsStream(path)) return standard;
  return file.emplace(path);
}

// Standard output for "-", else a file made in `file`. Nothing tells what permissions the data
// on standard input had, so the file is its owner's alone.
ByteSink& SinkFor(const std::string& path, StandardOutput& standard,
                  std::optional<AtomicOutputFile>& file) {
  if (IsStream(path)) return standard;
  return file.emplace(path, 0600);
}

}  // namespace

int FileCommand::Run(const SecretText& keyText) {
  m_KeyEmpty = keyText.empty();
  m_Cipher.SetCipherKey(GetPassword(keyText)->Bytes(), m_Options.keyBits);
  m_SealedKeys.emplace(keyText.View(), m_Options.kdf);
  if (m_Progress) {
    // The offset of the block just done: the bytes done are one block further.
    m_Cipher.SetProgressCallback([progress = m_Progress](std::uint64_t offset) {
      progress->Show(offset + cEncrypt::BlockSize);
    });
  }
  for (const std::string& path : m_Options.paths)
    RunPath(path);
  return m_Tally.ExitStatus();
}

void FileCommand::RunPath(const std::string& path) {
  if (!IsFolder(path)) return RunFile(path);
  if (m_Options.recursive) {
    const FolderFiles found = FilesUnder(path, m_Options.direction == Direction::Decrypt);
    for (const auto& [folder, reason] : found.unsearched) {
      m_Notifier.SetSubject(folder);
      Fail("cannot be searched: " + reason);
    }
    for (const std::string& file : found.files)
      RunFile(file);
    return;
  }
  m_Notifier.SetSubject(path);
  Fail("is a folder (-r takes the files in it)");
}

void FileCommand::RunFile(const std::string& source) {
  m_Notifier.SetSubject(IsStream(source) ? "standard input" : source);
  const bool encrypting = m_Options.direction == Direction::Encrypt;
  const std::string destination = m_Options.output.empty()
                                      ? DestinationFor(source, encrypting, m_Options.format)
                                      : m_Options.output;
  if (const auto refusal = Refusal(source, destination)) return Fail(*refusal);
  try {
    if (m_Options.command == CliCommand::Verify)
      Verify(source);
    else if (IsStream(source) || IsStream(destination))
      Stream(source, destination);
    else
      Transform(source, destination);
  } catch (const std::exception& error) {  // reading and writing failures
    if (m_Progress) m_Progress->Clear();
    Fail(error.what());
  }
}

// The window's checks, then what the window would ask about: a destination that exists.
// Verifying and standard input have only the key to check, standard output nothing to replace.
std::optional<std::string> FileCommand::Refusal(const std::string& source,
                                                const std::string& destination) const {
  if (m_Options.command == CliCommand::Verify || IsStream(source)) {
    if (auto refusal = CheckKey(m_KeyEmpty)) return refusal->text;
    if (m_Options.command == CliCommand::Verify) return std::nullopt;
  } else if (destination.empty()) {
    return "the name has no \".encr\" or \".lkv\" to cut the decrypted file's name at (-o gives "
           "one)";
  } else if (auto refusal = CheckFileJob(source, destination, m_KeyEmpty)) {
    return refusal->text;
  }
  if (!m_Options.overwrite && !IsStream(destination) && FileExists(destination))
    return destination + " already exists (--overwrite replaces it)";
  return std::nullopt;
}

void FileCommand::Transform(const std::string& source, const std::string& destination) {
  if (m_Progress) m_Progress->Start(TextOf(PathFromText(source).filename()), FileLength(source));
  const FileJobRequest request{source,
                               destination,
                               m_Options.direction,
                               m_Options.overwrite,
                               m_Options.deleteSource,
                               MoveToTrash,
                               m_Options.format,
                               &*m_SealedKeys};
  const FileJobResult result = RunFileJob(m_Cipher, request);
  if (m_Progress) m_Progress->Clear();
  Refused(result.format);
  if (result.sourceKept) Fail("source not deleted: " + *result.sourceKept);
}

// A sealed file from standard input or to standard output, written as it is read: standard
// output gets only chunks whose tags were verified, but after a failure keeps those before it.
void FileCommand::Stream(const std::string& source, const std::string& destination) {
  StandardInput standardInput;
  StandardOutput standardOutput;
  std::optional<InputFile> sourceFile;
  std::optional<AtomicOutputFile> destinationFile;
  ByteSource& in = SourceFor(source, standardInput, sourceFile);
  ByteSink& out = SinkFor(destination, standardOutput, destinationFile);
  const SealedControl control{m_Cipher.CancelFlag()};
  const SealedResult result = m_Options.direction == Direction::Encrypt
                                  ? SealFile(*m_SealedKeys, in, out, control)
                                  : OpenSealedFile(*m_SealedKeys, in, out, control);
  if (result.status == SealedStatus::NotSealed) return Fail(kNotSealed);
  if (Refused(AsFormatResult(result))) return;
  if (sourceFile) sourceFile->ExpectUnchanged();
  if (destinationFile) destinationFile->Commit(m_Options.overwrite);
  if (IsStream(destination)) standardOutput.Flush();
}

// A sealed file read through, every tag checked; an encrypted file only by its length byte.
void FileCommand::Verify(const std::string& source) {
  StandardInput standardInput;
  std::optional<InputFile> sourceFile;
  ByteSource& in = SourceFor(source, standardInput, sourceFile);
  if (m_Progress && sourceFile)
    m_Progress->Start(TextOf(PathFromText(source).filename()), in.Size());
  DiscardingSink nothing;
  SealedControl control;
  if (m_Progress) control.progress = [this](std::uint64_t done) { m_Progress->Show(done); };
  const SealedResult sealed = OpenSealedFile(*m_SealedKeys, in, nothing, control);
  if (m_Progress) m_Progress->Clear();
  const std::string name = IsStream(source) ? "standard input" : source;
  if (sealed.status != SealedStatus::NotSealed) {
    if (!Refused(AsFormatResult(sealed)))
      std::cout << name << ": sound: the key is right and every chunk is as it was written\n";
    return;
  }
  if (!sourceFile) return Fail(kNotSealed);
  if (!Refused(m_Cipher.CheckFileCiphertext(in)))
    std::cout << name
              << ": the length byte fits, a weak check: one wrong key in sixteen passes it, and "
                 "damage goes unseen (an encrypted file, not a sealed one)\n";
}

bool FileCommand::Refused(const FormatResult& result) {
  const auto refusal = RefusalOf(result, DataForm::File);
  if (!refusal) return false;
  m_Notifier.Tell(refusal->text);
  m_Tally.NoteDecryptionFailure();
  return true;
}

void FileCommand::Fail(const std::string& reason) {
  m_Notifier.Tell(reason);
  m_Tally.NoteFileFailure();
}

}  // namespace lockvale
