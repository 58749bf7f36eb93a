#include "support/OpenInternet.h"

#include <QDesktopServices>
#include <QUrl>

namespace lockvale {

namespace {

UrlOpener* g_InstalledOpener = nullptr;

}  // namespace

void InstallUrlOpener(UrlOpener* opener) {
  g_InstalledOpener = opener;
}

void OpenInternet(QWidget* /*Parent*/, const std::string& address, int /*showStyle*/) {
  if (g_InstalledOpener != nullptr) {
    g_InstalledOpener->Open(address);
    return;
  }
  QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

}  // namespace lockvale
