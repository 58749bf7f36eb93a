#include "support/ProgramIcon.h"

#include <QFile>

// The resources live in a static library: without this reference the linker drops them. It sits
// outside any namespace, as Q_INIT_RESOURCE declares a global function.
static void LoadIconResources() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(ProgramIcon);
    return true;
  }();
  (void)loaded;
}

namespace lockvale {

QIcon ProgramIcon() {
  LoadIconResources();
  QIcon icon;
  for (int size : {16, 32, 48, 128, 256})
    icon.addFile(QStringLiteral(":/lockvale/lockvale-%1.png").arg(size), QSize(size, size));
  return icon;
}

QByteArray ProgramIconSvg() {
  LoadIconResources();
  QFile file(QStringLiteral(":/lockvale/lockvale.svg"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace lockvale
