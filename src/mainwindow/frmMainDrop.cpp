// Files and text dropped on the main window: one file in the mode Single file takes the place
// of a pick with the source's Browse button, files and folders in the mode Multiple files
// become rows as the browse window would make them, and text goes into the text box.
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

#include "fileselect/clsFileFind.h"
#include "mainwindow/frmMain.h"
#include "support/Statement.h"

namespace lockvale {

namespace {

QStringList LocalPaths(const QMimeData& data) {
  QStringList paths;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  return paths;
}

// Every file a dropped path stands for, each followed by "*" as the finder gives them:
// a folder is searched with its subfolders.
std::string FilesFound(const QStringList& paths) {
  std::string found;
  for (const QString& path : paths) {
    if (!QFileInfo(path).isDir()) {
      found += path.toStdString() + '*';
      continue;
    }
    clsFileFind finder(found);
    finder.SearchFile(path.toStdString() + '/', true);
  }
  return found;
}

}  // namespace

bool frmMain::DropWanted(const QMimeData& data) const {
  if (m_JobRunning) return false;
  const QStringList paths = LocalPaths(data);
  switch (Mode()) {
    case JobMode::SingleFile:
      return data.hasUrls() && paths.size() == 1 && QFileInfo(paths[0]).isFile();
    case JobMode::MultipleFiles:
      return data.hasUrls() && !paths.isEmpty() && paths.size() == data.urls().size();
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
    const QStringList paths = LocalPaths(data);
    if (Mode() == JobMode::SingleFile) {
      const std::string path = paths[0].toStdString();
      SetSourceAndDestination(path, DestinationFor(path, Encrypting()));
      return;
    }
    LV_STMT(DropFiles(paths));
  });
}

void frmMain::DropFiles(const QStringList& paths) {
  const BatchEntry flags = EntryFromInputs();  // the window's two boxes
  AppendBatchRows(
      BatchRowsFor(FilesFound(paths), Encrypting(), flags.overwrite, flags.deleteSource));
  EnableListButtons(BatchRowCount() > 0, HasSourceName());
}

}  // namespace lockvale
