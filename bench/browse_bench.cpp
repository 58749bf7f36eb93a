// A folder tree of 100,000 files in 1,000 folders browsed into the batch list: the
// search alone, then the rows shown in the real window (offscreen).
//   QT_QPA_PLATFORM=offscreen browse_bench FOLDER
#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "find/clsFileFind.h"
#include "jobs/BatchEntry.h"
#include "mainwindow/BatchListView.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: browse_bench FOLDER\n");
    return 2;
  }
  const std::filesystem::path root = std::filesystem::path(argv[1]) / "lockvale-browse-bench";
  std::filesystem::remove_all(root);
  for (int folder = 0; folder < 1000; ++folder) {
    const auto path = root / ("folder" + std::to_string(folder));
    std::filesystem::create_directories(path);
    for (int file = 0; file < 100; ++file)
      std::ofstream(path / ("file" + std::to_string(file) + ".txt"));
  }

  auto start = std::chrono::steady_clock::now();
  std::vector<std::string> found;
  lockvale::clsFileFind finder(found);
  finder.SearchFile(root.string() + "/", true);
  const double search = Seconds(start);

  QTreeWidget list;
  list.setColumnCount(4);
  list.resize(1100, 180);
  list.show();
  lockvale::BatchListView view(&list);
  start = std::chrono::steady_clock::now();
  view.Append(lockvale::BatchRowsFor(std::move(found), true, "No", "No"));
  QCoreApplication::processEvents();
  list.repaint();
  const double shown = Seconds(start);
  std::printf("%zu files: search %.3f s, rows shown %.3f s\n", view.Count(), search, shown);
  std::filesystem::remove_all(root);
  return 0;
}
