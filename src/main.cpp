#include <QApplication>

#include "mainwindow/frmMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lockvale"));
  lockvale::frmMain window;
  window.FillSizeLists();
  window.optSingleFile_Click();
  window.show();
  return QApplication::exec();
}
