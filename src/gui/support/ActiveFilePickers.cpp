#include "support/ActiveFilePickers.h"

#include "support/QtFilePickers.h"

namespace lockvale {

namespace {

FilePickers* g_InstalledPickers = nullptr;

QtFilePickers& RealPickers() {
  static QtFilePickers pickers;
  return pickers;
}

}  // namespace

FilePickers& ActiveFilePickers() {
  return g_InstalledPickers != nullptr ? *g_InstalledPickers : RealPickers();
}

void InstallFilePickers(FilePickers* pickers) {
  g_InstalledPickers = pickers;
}

void SetFilePickerOwner(QWidget* owner) {
  RealPickers().SetOwner(owner);
}

QWidget* FilePickerOwner() {
  return RealPickers().Owner();
}

}  // namespace lockvale
