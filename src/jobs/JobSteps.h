#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "cipher/KeyBytes.h"

namespace lockvale {

class frmMain;

// Typed text as bytes of the system's code page.
std::vector<std::uint8_t> ToCodePage(const QString& text);

// The question every job asks before it starts; only Yes goes on.
bool Confirmed(const frmMain& form, const QString& encryptQuestion, const QString& decryptQuestion);

// The key bytes of the typed key, through the system's code page.
std::unique_ptr<KeyBytes> GetPassword(const frmMain& form);

// Key size and block size in bits, as the size lists hold them.
int SelectedKeyBits(const frmMain& form);
int SelectedBlockBits(const frmMain& form);

// The step every job that got past its questions ends with.
void CompleteJob(frmMain& form, bool errorHappened);

}  // namespace lockvale
