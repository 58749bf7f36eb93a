#include "support/QtFilePickers.h"

#include <QFileDialog>

namespace lockvale {

namespace {

void Configure(QFileDialog& dialog, const PickerRequest& request) {
  switch (request.kind) {
    case PickerKind::Open:
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(request.severalFiles ? QFileDialog::ExistingFiles
                                              : QFileDialog::ExistingFile);
      break;
    case PickerKind::Save:
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
      break;
    case PickerKind::Folder:
      dialog.setFileMode(QFileDialog::Directory);
      dialog.setOption(QFileDialog::ShowDirsOnly);
      break;
  }
}

}  // namespace

std::vector<std::string> QtFilePickers::Pick(const PickerRequest& request) {
  QFileDialog dialog(m_Owner.data(), QString::fromStdString(request.title));
  Configure(dialog, request);
  if (!request.filter.empty()) dialog.setNameFilter(QString::fromStdString(request.filter));
  if (!request.initialFolder.empty())
    dialog.setDirectory(QString::fromStdString(request.initialFolder));
  if (!request.initialFile.empty()) dialog.selectFile(QString::fromStdString(request.initialFile));
  if (dialog.exec() != QDialog::Accepted) return {};
  std::vector<std::string> paths;
  for (const QString& path : dialog.selectedFiles())
    paths.push_back(path.toStdString());
  return paths;
}

}  // namespace lockvale
