// Files and text dropped on the main window: one file in the mode Single file takes the place
// of a pick with the source's Browse button, files and folders in the mode Multiple files
// become rows as the browse window would make them, and text goes into the text box.
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <filesystem>

#include "browse/frmBrowse.h"
#include "find/clsFileFind.h"
#include "mainwindow/JobController.h"
#include "mainwindow/ListController.h"
#include "mainwindow/frmMain.h"
#include "support/Statement.h"
#include "util/DirectoryReader.h"
#include "util/PathText.h"

namespace lockvale {

namespace {

// Byte for byte: toLocalFile puts U+FFFD for bytes that are not UTF-8, which names another file.
std::string LocalPath(const QUrl& url) {
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  return url.host().isEmpty() && !bytes.isValidUtf8() ? bytes.toStdString()
                                                      : url.toLocalFile().toStdString();
}

std::vector<std::string> LocalPaths(const QMimeData& data) {
  std::vector<std::string> paths;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) paths.push_back(LocalPath(url));
  return paths;
}

// A name the text box can hold as it is.
bool IsText(const std::string& path) {
  return QByteArrayView(path.data(), static_cast<qsizetype>(path.size())).isValidUtf8();
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(PathFromText(path), error);
}

// Every file a dropped path stands for, as the finder gives them: a folder is searched with its
// subfolders. The folders that could not be searched are named in one notice.
std::vector<std::string> FilesFound(const std::vector<std::string>& paths) {
  std::vector<std::string> found;
  std::vector<UnsearchedFolder> unsearched;
  for (const std::string& path : paths) {
    if (!IsFolder(path)) {
      found.push_back(path);
      continue;
    }
    clsFileFind finder(found);
    finder.SearchFile(path + '/', true);
    unsearched.insert(unsearched.end(), finder.Unsearched().begin(), finder.Unsearched().end());
  }
  NoticeUnsearched(unsearched);
  return found;
}

}  // namespace

bool frmMain::DropWanted(const QMimeData& data) const {
  if (m_Jobs->Running()) return false;
  const std::vector<std::string> paths = LocalPaths(data);
  switch (Mode()) {
    case JobMode::SingleFile:
      return data.hasUrls() && paths.size() == 1 && IsFile(paths[0]) && IsText(paths[0]);
    case JobMode::MultipleFiles:
      return data.hasUrls() && !paths.empty() &&
             paths.size() == static_cast<std::size_t>(data.urls().size());
    case JobMode::Text:
      return data.hasText() && !data.hasUrls();
  }
  return false;
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (DropWanted(*event->mimeData())) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
  if (!DropWanted(*event->mimeData())) return;
  event->acceptProposedAction();
  Form_DragDrop(*event->mimeData());
}

void frmMain::Form_DragDrop(const QMimeData& data) {
  LV_GUARD("Form_DragDrop", [&] {
    if (!DropWanted(data)) return;
    if (Mode() == JobMode::Text) {
      txtEncrypt->insertPlainText(data.text());
      return;
    }
    const std::vector<std::string> paths = LocalPaths(data);
    if (Mode() == JobMode::SingleFile) {
      const std::string& path = paths[0];
      m_List->SetSourceAndDestination(
          path, DestinationFor(path, m_List->Encrypting(), m_List->WritingFormat()));
      return;
    }
    LV_STMT(DropFiles(paths));
  });
}

void frmMain::DropFiles(const std::vector<std::string>& paths) {
  const BatchEntry flags = m_List->EntryFromInputs();  // the window's two boxes
  m_List->AppendBatchRows(BatchRowsFor(FilesFound(paths), m_List->Encrypting(), flags.overwrite,
                                       flags.deleteSource, m_List->WritingFormat()));
  m_List->EnableListButtons(m_List->BatchRowCount() > 0, m_List->HasSourceName());
}

}  // namespace lockvale
