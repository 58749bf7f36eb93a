// The main window's batch list: its editing buttons and what the browse dialog fills in.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "find/clsFileFind.h"
#include "mainwindow/BatchListView.h"
#include "mainwindow/frmMain.h"
#include "support/ActiveMessageBoxes.h"
#include "support/Statement.h"

namespace lockvale {

namespace {

const QString kEdit = QStringLiteral("Edit");

// As the finder sees it: wildcards, and a folder ending in "/" that holds a file, pass.
bool SourceFound(const std::string& path) {
  std::vector<std::string> found;
  clsFileFind finder(found);
  finder.SearchFile(path, false);
  return !found.empty();
}

}  // namespace

BatchEntry frmMain::EntryFromInputs() const {
  return {txtFilename->text().toStdString(), txtDestFilename->text().toStdString(),
          chkOverwrite->isChecked(), chkDeleteSourceFile->isChecked()};
}

void frmMain::cmdAdd_Click() {
  LV_GUARD("cmdAdd_Click", [&] {
    if (txtFilename->text().isEmpty()) {
      ShowNotice(QStringLiteral("Please select a source filename"), QStringLiteral("Filename"));
      return;
    }
    if (!LV_STMT(SourceFound(txtFilename->text().toStdString()))) {
      ShowNotice(QStringLiteral("Source file does not exist. Please enter a valid source filename"),
                 QStringLiteral("Source filename"));
      return;
    }
    m_Batch->Append({EntryFromInputs()});
    cmdClear->setEnabled(true);
  });
}

// A two-state button: "Edit" loads the selected row into the inputs, "Accept Changes"
// writes the inputs back into the row selected then.
void frmMain::cmdEdit_Click() {
  LV_GUARD("cmdEdit_Click", [&] {
    QTreeWidgetItem* selected = lstEncrypt->currentItem();
    if (selected == nullptr) return;
    const auto index = static_cast<std::size_t>(lstEncrypt->indexOfTopLevelItem(selected));
    if (cmdEdit->text() != kEdit) {
      m_Batch->Replace(index, EntryFromInputs());
      cmdEdit->setText(kEdit);
      return;
    }
    const BatchEntry row = m_Batch->Row(index);
    txtFilename->setText(QString::fromStdString(row.source));
    txtDestFilename->setText(QString::fromStdString(row.destination));
    chkOverwrite->setChecked(row.overwrite);
    chkDeleteSourceFile->setChecked(row.deleteSource);
    cmdEdit->setText(QStringLiteral("Accept Changes"));
  });
}

void frmMain::cmdRemove_Click() {
  LV_GUARD("cmdRemove_Click", [&] {
    m_Batch->RemoveMarked();
    if (m_Batch->Count() == 0) cmdClear->setEnabled(false);
    cmdRemove->setEnabled(false);
    cmdEdit->setEnabled(false);
  });
}

void frmMain::cmdClear_Click() {
  LV_GUARD("cmdClear_Click", [&] {
    m_Batch->Clear();
    for (QPushButton* button : {cmdClear, cmdRemove, cmdEdit})
      button->setEnabled(false);
  });
}

void frmMain::lstEncrypt_Click() {
  LV_GUARD("lstEncrypt_Click", [&] {
    cmdEdit->setEnabled(true);
    cmdEdit->setText(kEdit);
    cmdRemove->setEnabled(true);
    txtFilename->clear();
    txtDestFilename->clear();
    cmdAdd->setEnabled(false);
  });
}

BatchList& frmMain::BatchRows() {
  return *m_Batch;
}

bool frmMain::Encrypting() const {
  return optEncrypt->isChecked();
}

void frmMain::SetSourceAndDestination(const std::string& source, const std::string& destination) {
  txtFilename->setText(QString::fromStdString(source));
  txtDestFilename->setText(QString::fromStdString(destination));
}

void frmMain::SetFileFlags(bool overwrite, bool deleteSource) {
  chkOverwrite->setChecked(overwrite);
  chkDeleteSourceFile->setChecked(deleteSource);
}

bool frmMain::HasSourceName() const {
  return !txtFilename->text().isEmpty();
}

int frmMain::BatchRowCount() const {
  return lstEncrypt->topLevelItemCount();
}

void frmMain::ClearBatchList() {
  m_Batch->Clear();
}

void frmMain::AppendBatchRows(const std::vector<BatchEntry>& rows) {
  m_Batch->Append(rows);
}

void frmMain::EnableListButtons(bool clear, bool add) {
  if (clear) cmdClear->setEnabled(true);
  if (add) cmdAdd->setEnabled(true);
}

}  // namespace lockvale
