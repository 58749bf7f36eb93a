#pragma once

#include <string>
#include <vector>

#include "browse/BrowseTarget.h"
#include "mainwindow/BatchListView.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace lockvale {

// The main window's widgets that the batch list is edited with.
struct ListControls {
  QLineEdit *source, *destination;
  QCheckBox *overwrite, *deleteSource;
  QRadioButton* encrypt;
  QPushButton *add, *edit, *remove, *clear;
  QTreeWidget* list;
};

// The batch list's editing buttons, and what the browse window and drops read from the main
// window and fill in. The window's handlers of the same names call these.
class ListController : public BrowseTarget {
 public:
  explicit ListController(const ListControls& controls);

  BatchListView& View() { return m_View; }
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdRemove_Click();
  void cmdClear_Click();
  void lstEncrypt_Click();
  // The source, destination and the window's two boxes as a row.
  BatchEntry EntryFromInputs() const;

  bool Encrypting() const override;
  Format WritingFormat() const override { return m_Format; }
  // Encrypting, names made by the earlier format's rule take the new one's, so that no sealed
  // file is named ".encr" nor the other way round.
  void SetWritingFormat(Format format);
  void SetSourceAndDestination(const std::string& source, const std::string& destination) override;
  void SetFileFlags(bool overwrite, bool deleteSource) override;
  bool HasSourceName() const override;
  int BatchRowCount() const override;
  void ClearBatchList() override;
  void AppendBatchRows(const std::vector<BatchEntry>& rows) override;
  void EnableListButtons(bool clear, bool add) override;

 private:
  ListControls m_Controls;
  BatchListView m_View;
  Format m_Format = Format::Encr;
};

}  // namespace lockvale
