#include "cli/FileCommand.h"

#include "cli/FolderFiles.h"
#include "jobs/BatchEntry.h"
#include "jobs/FileJob.h"
#include "jobs/JobChecks.h"
#include "util/DirectoryReader.h"
#include "util/FileIdentity.h"
#include "util/PathText.h"

namespace lockvale {

int FileCommand::Run(const KeyBytes& key, bool keyEmpty) {
  m_KeyEmpty = keyEmpty;
  m_Cipher.SetCipherKey(key.Bytes(), m_Options.keyBits);
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
  m_Notifier.SetSubject(source);
  const std::string destination =
      m_Options.output.empty() ? DestinationFor(source, m_Options.direction == Direction::Encrypt)
                               : m_Options.output;
  if (const auto refusal = Refusal(source, destination)) return Fail(*refusal);
  try {
    Transform(source, destination);
  } catch (const std::exception& error) {  // reading and writing failures
    if (m_Progress) m_Progress->Clear();
    Fail(error.what());
  }
}

// The window's checks, then what the window would ask about: a destination that exists.
std::optional<std::string> FileCommand::Refusal(const std::string& source,
                                                const std::string& destination) const {
  if (destination.empty())
    return "the name has no \".encr\" to cut the decrypted file's name at (-o gives one)";
  if (auto refusal = CheckFileJob(source, destination, m_KeyEmpty)) return refusal->text;
  if (!m_Options.overwrite && FileExists(destination))
    return destination + " already exists (--overwrite replaces it)";
  return std::nullopt;
}

void FileCommand::Transform(const std::string& source, const std::string& destination) {
  if (m_Progress) m_Progress->Start(TextOf(PathFromText(source).filename()), FileLength(source));
  const FileJobRequest request{source, destination, m_Options.direction, m_Options.overwrite,
                               m_Options.deleteSource};
  const FileJobResult result = RunFileJob(m_Cipher, request);
  if (m_Progress) m_Progress->Clear();
  if (const auto refusal = RefusalOf(result.format, DataForm::File)) {
    m_Notifier.Tell(refusal->text);
    m_Tally.NoteDecryptionFailure();
  }
  if (result.sourceKept) Fail("source not deleted: " + *result.sourceKept);
}

void FileCommand::Fail(const std::string& reason) {
  m_Notifier.Tell(reason);
  m_Tally.NoteFileFailure();
}

}  // namespace lockvale
