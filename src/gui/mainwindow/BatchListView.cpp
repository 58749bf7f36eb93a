#include "mainwindow/BatchListView.h"

#include <QBrush>
#include <QTreeWidget>

namespace lockvale {

namespace {

constexpr int kColumns = 4;

// A name that is not UTF-8 shows with U+FFFD, which names another file: the item keeps its
// bytes beside the text, for as long as the text is the one made from them.
void KeepBytes(QTreeWidgetItem* item, int column, const std::string& name) {
  if (!QByteArrayView(name.data(), static_cast<qsizetype>(name.size())).isValidUtf8())
    item->setData(column, Qt::UserRole, QByteArray::fromStdString(name));
}

std::string NameIn(const QTreeWidgetItem* item, int column) {
  const QByteArray bytes = item->data(column, Qt::UserRole).toByteArray();
  if (!bytes.isEmpty() && QString::fromUtf8(bytes) == item->text(column))
    return bytes.toStdString();
  return item->text(column).toStdString();
}

// The flags show as "Yes" and "No"; read back, only "No" protects a destination and only "Yes"
// deletes a source.
QString YesNo(bool flag) {
  return flag ? QStringLiteral("Yes") : QStringLiteral("No");
}

QTreeWidgetItem* MakeItem(const BatchEntry& row) {
  auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(row.source),
                                               QString::fromStdString(row.destination),
                                               YesNo(row.overwrite), YesNo(row.deleteSource)});
  KeepBytes(item, 0, row.source);
  KeepBytes(item, 1, row.destination);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Unchecked);
  return item;
}

QTreeWidgetItem* ItemAt(const QTreeWidget* list, std::size_t index) {
  return list->topLevelItem(static_cast<int>(index));
}

}  // namespace

std::size_t BatchListView::Count() const {
  return static_cast<std::size_t>(m_List->topLevelItemCount());
}

BatchEntry BatchListView::Row(std::size_t index) const {
  const QTreeWidgetItem* item = ItemAt(m_List, index);
  return {NameIn(item, 0), NameIn(item, 1), item->text(2) != YesNo(false),
          item->text(3) == YesNo(true)};
}

void BatchListView::KeepSource(std::size_t index) {
  ItemAt(m_List, index)->setText(3, YesNo(false));
}

void BatchListView::Remove(std::size_t index) {
  delete m_List->takeTopLevelItem(static_cast<int>(index));
}

void BatchListView::MarkFailed(std::size_t index, const std::string& reason) {
  QTreeWidgetItem* item = ItemAt(m_List, index);
  for (int column = 0; column < kColumns; ++column) {
    item->setForeground(column, QBrush(Qt::red));
    item->setToolTip(column, QString::fromStdString(reason));
  }
}

void BatchListView::ClearMarks() {
  for (int row = 0; row < m_List->topLevelItemCount(); ++row) {
    QTreeWidgetItem* item = m_List->topLevelItem(row);
    if (item->toolTip(0).isEmpty()) continue;
    for (int column = 0; column < kColumns; ++column) {
      item->setData(column, Qt::ForegroundRole, QVariant());
      item->setToolTip(column, QString());
    }
  }
}

void BatchListView::Append(const std::vector<BatchEntry>& rows) {
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const BatchEntry& row : rows)
    items.append(MakeItem(row));
  m_List->addTopLevelItems(items);
}

void BatchListView::Replace(std::size_t index, const BatchEntry& row) {
  Remove(index);
  m_List->insertTopLevelItem(static_cast<int>(index), MakeItem(row));
}

// Rebuilt in one go: taking marked rows out one by one is quadratic in a long list.
void BatchListView::RemoveMarked() {
  QList<QTreeWidgetItem*> kept;
  for (QTreeWidgetItem* item : m_List->invisibleRootItem()->takeChildren()) {
    if (item->checkState(0) == Qt::Checked)
      delete item;
    else
      kept.append(item);
  }
  m_List->addTopLevelItems(kept);
}

void BatchListView::Clear() {
  m_List->clear();
}

}  // namespace lockvale
