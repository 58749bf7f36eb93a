#include "mainwindow/JobRows.h"

#include "mainwindow/BatchListView.h"
#include "support/WindowThread.h"

namespace lockvale {

JobRows::JobRows(BatchListView& view, QObject* context) : m_View(view), m_Context(context) {
  m_Rows.reserve(view.Count());
  for (std::size_t index = 0; index < view.Count(); ++index)
    m_Rows.push_back(view.Row(index));
}

void JobRows::KeepSource(std::size_t index) {
  m_Rows.at(index).deleteSource = false;
  PostTo(m_Context, [&view = m_View, index] { view.KeepSource(index); });
}

void JobRows::Remove(std::size_t index) {
  m_Rows.erase(m_Rows.begin() + static_cast<std::ptrdiff_t>(index));
  PostTo(m_Context, [&view = m_View, index] { view.Remove(index); });
}

void JobRows::MarkFailed(std::size_t index, const std::string& reason) {
  PostTo(m_Context, [&view = m_View, index, reason] { view.MarkFailed(index, reason); });
}

void JobRows::ClearMarks() {
  PostTo(m_Context, [&view = m_View] { view.ClearMarks(); });
}

}  // namespace lockvale
