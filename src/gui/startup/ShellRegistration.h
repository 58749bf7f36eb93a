#pragma once

#include <string>

namespace lockvale {

// Removes what an earlier start registered with the desktop, whatever path it pointed at. Silent
// on every failure.
void RemoveShellRegistration();

// Registers the program at exePath in place of what an earlier start registered: the desktop
// opens ".encr" and ".lkv" files with it and offers "Encrypt" on every file. A path that the
// registration cannot hold (on Linux: empty, not UTF-8, or with a control character other than
// tab, newline and carriage return; on Windows: empty) leaves the earlier registration as it
// was. Silent on every failure.
void WriteShellRegistration(const std::string& exePath);

}  // namespace lockvale
