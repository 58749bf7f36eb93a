#include "jobs/SingleFileJob.h"

#include "jobs/FileJob.h"
#include "jobs/JobChecks.h"
#include "jobs/JobSteps.h"
#include "util/FileIdentity.h"
#include "util/StatementMark.h"

namespace lockvale {

void SingleFileJob::Run() {
  if (!Accepted(m_Host,
                CheckFileJob(m_Request.source, m_Request.destination, m_Request.keyText.empty())) ||
      !Confirmed(m_Host, m_Request.direction, "Are you sure you wish to encrypt this file?",
                 "Are you sure you wish to decrypt this file?") ||
      !UnheldCharactersAccepted(m_Host, m_Request))
    return;
  FileName = m_Request.source;
  FileName2 = m_Request.destination;
  LV_STMT(m_Host.StartProgress(FileLength(FileName) + 1));
  if (!DestinationSettled()) return;
  const FormatResult result = Transform();
  if (result.kind == FormatResult::Cancelled) {
    m_Host.SetStatusText("Cancelled");
    return;
  }
  Accepted(m_Host, RefusalOf(result, DataForm::File));
  CompleteJob(m_Host, m_Request.direction, result.kind != FormatResult::Done);
  if (m_SourceKept) TellSourceKept(m_Host, FileName, *m_SourceKept);
}

// An existing destination is only marked for replacement here; it stays intact
// until the new file is complete.
bool SingleFileJob::DestinationSettled() {
  if (!FileExists(FileName2)) return true;
  if (m_Request.overwrite) {
    m_ReplaceExisting = true;
    return true;
  }
  const MessageAnswer answer =
      m_Host.Boxes().Ask(FileName2 + " already exists. Do you wish to overwrite it?", kAppTitle,
                         NoticeIcon::Information);
  m_ReplaceExisting = answer == MessageAnswer::Yes;
  return m_ReplaceExisting;
}

FormatResult SingleFileJob::Transform() {
  cEncrypt& cipher = KeyedCipherForFile(m_Host, m_Request);
  const FileJobRequest request{FileName,
                               FileName2,
                               m_Request.direction,
                               m_ReplaceExisting,
                               m_Request.deleteSource,
                               TrashOf(m_Host),
                               m_Request.format,
                               &m_SealedKeys,
                               DerivationShown(m_Host, m_Request.direction)};
  const FileJobResult result = LV_STMT(RunFileJob(cipher, request));
  m_SourceKept = result.sourceKept;
  return result.format;
}

}  // namespace lockvale
