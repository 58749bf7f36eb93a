#include "jobs/BatchJob.h"

#include <system_error>
#include <unordered_map>
#include <vector>

#include "jobs/FileJob.h"
#include "jobs/JobSteps.h"
#include "util/FileIdentity.h"
#include "util/StatementMark.h"

namespace lockvale {

namespace {

std::string ReuseQuestion(std::size_t s, std::size_t y) {
  const std::string earlier = std::to_string(s + 1), later = std::to_string(y + 1);
  return "At entry " + earlier + ", you have chosen to remove the source file. However, at entry " +
         later +
         " you want to use the source file again. Select yes to keep the source file at "
         "entry " +
         earlier + " or no to remove the entry at line " + later + ".";
}

std::string FailedRowsText(std::size_t failed, std::size_t rows) {
  return std::to_string(failed) + " of " + std::to_string(rows) +
         " files failed. The failed rows are shown in red; point at one to see why.";
}

// An encrypted file's refusal cannot tell a wrong key from a file of another kind; a sealed
// file's says what it found.
std::string RowFailure(const FormatResult& result, const Refusal& refusal) {
  if (result.kind == FormatResult::RaggedCiphertext || result.kind == FormatResult::BadLengthByte)
    return "Wrong key or key size, or not an encrypted file";
  return refusal.text;
}

}  // namespace

void BatchJob::Run() {
  const Direction direction = m_Request.direction;
  const bool encrypting = direction == Direction::Encrypt;
  if (m_List.Count() == 0) {
    m_Host.Boxes().Notice(encrypting ? "You have not added any files to encrypt."
                                     : "You have not added any files to decrypt.",
                          "Encrypt");
    return;
  }
  if (!Confirmed(m_Host, direction, "Are you sure you wish to encrypt these files?",
                 "Are you sure you wish to decrypt these files?") ||
      !UnheldCharactersAccepted(m_Host, m_Request))
    return;
  m_List.ClearMarks();
  RunRows();
}

void BatchJob::RunRows() {
  const bool encrypting = m_Request.direction == Direction::Encrypt;
  for (std::size_t x = 0; x < m_List.Count(); ++x) {
    // Passes repeat until one asks nothing, so that a row that moved up after a removal is
    // settled before the entry that would delete its source runs.
    while (encrypting && !m_ListSettled)
      if (!SourcesSettled()) return;
    if (x >= m_List.Count()) break;
    if (m_Request.keyText.empty()) {
      m_Host.Boxes().Notice("Please enter a security key", "Security Key");
      return;
    }
    const BatchEntry row = m_List.Row(x);
    switch (Transform(x, row)) {
      case RowOutcome::Done:
        ++m_Tally.done;
        break;
      case RowOutcome::Skipped:
        ++m_Tally.skipped;
        break;
      case RowOutcome::Failed:
        ++m_Tally.failed;
        break;
      case RowOutcome::Cancelled:
        m_Host.BatchFinished(m_Tally);
        m_Host.SetStatusText("Cancelled");
        return;
    }
  }
  m_Host.BatchFinished(m_Tally);
  CompleteJob(m_Host, m_Request.direction, m_Tally.failed > 0);
  if (m_Tally.failed > 0)
    m_Host.Boxes().Notice(FailedRowsText(m_Tally.failed, m_List.Count()), "Status",
                          NoticeIcon::Exclamation);
}

// One pass over the list: for each row, the first earlier row with the same source text
// that deletes it. The list changes only through the answers, so a pass that asked nothing
// settles it for the rest of the run. False when the user cancelled.
bool BatchJob::SourcesSettled() {
  if (m_ListSettled) return true;
  bool asked = false;
  std::unordered_map<std::string, std::vector<std::size_t>> deleters;  // rows in order
  auto note = [&](std::size_t row) {
    const BatchEntry entry = m_List.Row(row);
    if (entry.deleteSource) deleters[entry.source].push_back(row);
  };
  for (std::size_t y = 0; y < m_List.Count(); ++y) {
    auto found = deleters.find(m_List.Row(y).source);
    if (found == deleters.end() || found->second.empty()) {
      note(y);
      continue;
    }
    asked = true;
    const std::size_t s = found->second.front();
    const MessageAnswer answer =
        m_Host.Boxes().Ask(ReuseQuestion(s, y), "Source", NoticeIcon::Information);
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes) {
      m_List.KeepSource(s);
      found->second.erase(found->second.begin());
      note(y);
    } else {
      m_List.Remove(y);
      // The row that moves up is not asked about in this pass, but later rows see it.
      if (y < m_List.Count()) note(y);
    }
  }
  m_ListSettled = !asked;
  return true;
}

BatchJob::RowOutcome BatchJob::Transform(std::size_t x, const BatchEntry& row) {
  FileName = row.source;
  if (FileName.empty()) return RowOutcome::Skipped;
  FileName2 = row.destination;
  LV_STMT(m_Host.StartProgress(FileLength(FileName) + 1));  // a missing source ends the run
  if (!row.overwrite && FileExists(FileName2)) return RowOutcome::Skipped;
  if (FileName2.empty()) return RowOutcome::Skipped;
  if (SameFile(FileName, FileName2)) {
    m_List.MarkFailed(x, "The destination file is the same as the source file");
    return RowOutcome::Failed;
  }
  cEncrypt& cipher = KeyedCipherForFile(m_Host, m_Request);
  const FileJobRequest request{
      FileName,         FileName2,        m_Request.direction,
      row.overwrite,    row.deleteSource, TrashOf(m_Host),
      m_Request.format, &m_SealedKeys,    DerivationShown(m_Host, m_Request.direction)};
  try {
    const FileJobResult result = RunFileJob(cipher, request);
    if (result.format.kind == FormatResult::Cancelled) return RowOutcome::Cancelled;
    if (const auto refusal = RefusalOf(result.format, DataForm::File)) {
      Accepted(m_Host, refusal);
      m_List.MarkFailed(x, RowFailure(result.format, *refusal));
    } else if (result.sourceKept) {
      m_List.MarkFailed(x, SourceKeptText(FileName, *result.sourceKept));
    } else {
      return RowOutcome::Done;
    }
  } catch (const std::system_error& error) {
    m_List.MarkFailed(x, error.what());
  }
  return RowOutcome::Failed;
}

}  // namespace lockvale
