#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "browse/BrowseTarget.h"
#include "find/clsFileFind.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QThread;

namespace lockvale {

// One notice naming how many folders could not be searched and the first three; none when
// every folder was.
void NoticeUnsearched(const std::vector<UnsearchedFolder>& unsearched);

// Picks one file, or every file of a folder tree, as the source of the main window's job and
// writes it into the main window through `target`. A modeless window owned by the main
// window: create it once and show it for each opening; closing it puts it back in its initial
// state. A folder is searched on a worker thread while the windows go on. The widgets carry the
// names below as their object names.
class frmBrowse : public QWidget {
  Q_OBJECT

 public:
  frmBrowse(BrowseTarget& target, QWidget* owner);
  ~frmBrowse() override;

  void SetActionCaption(const QString& caption);

  void optFile_Click();
  void optFolder_Click();
  void cmdCancel_Click();
  void cmdBrowse_Click();

 protected:
  // A close during a folder search also stops the search; nothing is added then.
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildControls();
  void ConnectHandlers();
  void ApplyInitialState();
  struct FolderSearch;
  bool BrowseOneFile();
  void BrowseFolderTree();
  void SearchEnded();
  void ShowFound();
  void Done();

  BrowseTarget& m_Target;
  std::unique_ptr<FolderSearch> m_Search;  // while a folder search runs
  std::unique_ptr<QThread> m_SearchThread;

  QGroupBox* fraAction;
  QRadioButton *optFile, *optFolder;
  QCheckBox *chkSubFolders, *chkOverwrite, *chkDeleteSourceFiles;
  QPushButton *cmdBrowse, *cmdCancel;
};

}  // namespace lockvale
