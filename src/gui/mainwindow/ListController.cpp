#include "mainwindow/ListController.h"

#include <utility>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "find/clsFileFind.h"
#include "support/ActiveMessageBoxes.h"
#include "util/StatementMark.h"

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

ListController::ListController(const ListControls& controls)
    : m_Controls(controls), m_View(controls.list) {}

BatchEntry ListController::EntryFromInputs() const {
  return {m_Controls.source->text().toStdString(), m_Controls.destination->text().toStdString(),
          m_Controls.overwrite->isChecked(), m_Controls.deleteSource->isChecked()};
}

void ListController::cmdAdd_Click() {
  if (m_Controls.source->text().isEmpty()) {
    ShowNotice(QStringLiteral("Please select a source filename"), QStringLiteral("Filename"));
    return;
  }
  if (!LV_STMT(SourceFound(m_Controls.source->text().toStdString()))) {
    ShowNotice(QStringLiteral("Source file does not exist. Please enter a valid source filename"),
               QStringLiteral("Source filename"));
    return;
  }
  m_View.Append({EntryFromInputs()});
  m_Controls.clear->setEnabled(true);
}

// A two-state button: "Edit" loads the selected row into the inputs, "Accept Changes"
// writes the inputs back into the row selected then.
void ListController::cmdEdit_Click() {
  QTreeWidgetItem* selected = m_Controls.list->currentItem();
  if (selected == nullptr) return;
  const auto index = static_cast<std::size_t>(m_Controls.list->indexOfTopLevelItem(selected));
  if (m_Controls.edit->text() != kEdit) {
    m_View.Replace(index, EntryFromInputs());
    m_Controls.edit->setText(kEdit);
    return;
  }
  const BatchEntry row = m_View.Row(index);
  SetSourceAndDestination(row.source, row.destination);
  SetFileFlags(row.overwrite, row.deleteSource);
  m_Controls.edit->setText(QStringLiteral("Accept Changes"));
}

void ListController::cmdRemove_Click() {
  m_View.RemoveMarked();
  if (m_View.Count() == 0) m_Controls.clear->setEnabled(false);
  m_Controls.remove->setEnabled(false);
  m_Controls.edit->setEnabled(false);
}

void ListController::cmdClear_Click() {
  m_View.Clear();
  for (QPushButton* button : {m_Controls.clear, m_Controls.remove, m_Controls.edit})
    button->setEnabled(false);
}

void ListController::lstEncrypt_Click() {
  m_Controls.edit->setEnabled(true);
  m_Controls.edit->setText(kEdit);
  m_Controls.remove->setEnabled(true);
  m_Controls.source->clear();
  m_Controls.destination->clear();
  m_Controls.add->setEnabled(false);
}

void ListController::SetWritingFormat(Format format) {
  const Format earlier = std::exchange(m_Format, format);
  if (earlier == format || !Encrypting()) return;
  const auto renamed = [&](const std::string& source, const std::string& destination) {
    return destination == DestinationFor(source, true, earlier)
               ? DestinationFor(source, true, format)
               : destination;
  };
  const std::string source = m_Controls.source->text().toStdString();
  m_Controls.destination->setText(
      QString::fromStdString(renamed(source, m_Controls.destination->text().toStdString())));
  for (std::size_t index = 0; index < m_View.Count(); ++index) {
    BatchEntry row = m_View.Row(index);
    std::string destination = renamed(row.source, row.destination);
    if (destination == row.destination) continue;
    row.destination = std::move(destination);
    m_View.Replace(index, row);
  }
}

bool ListController::Encrypting() const {
  return m_Controls.encrypt->isChecked();
}

void ListController::SetSourceAndDestination(const std::string& source,
                                             const std::string& destination) {
  m_Controls.source->setText(QString::fromStdString(source));
  m_Controls.destination->setText(QString::fromStdString(destination));
}

void ListController::SetFileFlags(bool overwrite, bool deleteSource) {
  m_Controls.overwrite->setChecked(overwrite);
  m_Controls.deleteSource->setChecked(deleteSource);
}

bool ListController::HasSourceName() const {
  return !m_Controls.source->text().isEmpty();
}

int ListController::BatchRowCount() const {
  return m_Controls.list->topLevelItemCount();
}

void ListController::ClearBatchList() {
  m_View.Clear();
}

void ListController::AppendBatchRows(const std::vector<BatchEntry>& rows) {
  m_View.Append(rows);
}

void ListController::EnableListButtons(bool clear, bool add) {
  if (clear) m_Controls.clear->setEnabled(true);
  if (add) m_Controls.add->setEnabled(true);
}

}  // namespace lockvale
