#pragma once

#include <memory>

#include "cipher/KeyBytes.h"

namespace lockvale {

class frmMain;

// The key bytes of the typed key, through the system's code page.
std::unique_ptr<KeyBytes> GetPassword(const frmMain& form);

// Key size and block size in bits, as the size lists hold them.
int SelectedKeyBits(const frmMain& form);
int SelectedBlockBits(const frmMain& form);

// The step every job that got past its questions ends with.
void CompleteJob(frmMain& form, bool errorHappened);

}  // namespace lockvale
