#include <QApplication>

#include "mainwindow/frmMain.h"
#include "support/ProgramIcon.h"
#include "util/SecretMemory.h"

int main(int argc, char* argv[]) {
  lockvale::DisableCoreDumps();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lockvale"));
  QApplication::setWindowIcon(lockvale::ProgramIcon());
  lockvale::frmMain window;
  // A refused agreement or an update that must be downloaded ends the program here.
  if (!window.Form_Initialize()) return 0;
  window.show();
  return QApplication::exec();
}
