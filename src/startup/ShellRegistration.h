#pragma once

#include <string>

namespace lockvale {

// Removes what an earlier start registered with the desktop, whatever path it pointed at. Silent
// on every failure.
void RemoveShellRegistration();

// Registers the program at exePath: the desktop opens ".encr" files with it and offers "Encrypt"
// on every file. Silent on every failure.
void WriteShellRegistration(const std::string& exePath);

}  // namespace lockvale
