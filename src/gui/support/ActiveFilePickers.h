#pragma once

#include <utility>

#include "support/FilePickers.h"

class QWidget;

namespace lockvale {

// The pickers in force: real ones, owned by and centred on the owner window (on the screen
// while there is none), unless a test has installed its own.
FilePickers& ActiveFilePickers();
void InstallFilePickers(FilePickers* pickers);  // nullptr restores the real ones
void SetFilePickerOwner(QWidget* owner);
QWidget* FilePickerOwner();

// Runs `pick` with the pickers owned by `owner`, then gives them back to the previous owner.
template <typename Pick>
decltype(auto) WithFilePickerOwner(QWidget* owner, Pick&& pick) {
  struct Restore {
    QWidget* previous;
    ~Restore() { SetFilePickerOwner(previous); }
  } restore{FilePickerOwner()};
  SetFilePickerOwner(owner);
  return std::forward<Pick>(pick)();
}

}  // namespace lockvale
